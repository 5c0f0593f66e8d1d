// The program's settings and counters in "Statistic.ini": counters in the product folder,
// settings beside the executable, and the one way any part of the program reads and writes
// a value of the file's section.
#pragma once
#include <string>

#include "app/ProductPaths.h"

namespace vorel {

extern const wchar_t kIniSection[];  // "TolvVorel"

// A value of the "TolvVorel" section of an INI file, read into `capacity` characters.
std::wstring ReadIniValue(const std::wstring& file, const wchar_t* key, const wchar_t* def,
                          size_t capacity);
void WriteIniValue(const std::wstring& file, const wchar_t* key, const wchar_t* value);

// Reads the key from the counter file, adds one, writes it back with "%u" and returns it.
unsigned IncrementCounter(const wchar_t* key);

// A text from the settings file beside the executable, read into `capacity` characters.
std::wstring ReadSetting(const wchar_t* key, const wchar_t* defaultValue, size_t capacity);
void WriteSetting(const wchar_t* key, const wchar_t* value);

}  // namespace vorel
