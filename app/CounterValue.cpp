#include "app/CounterValue.h"

#include "app/TextNumber.h"

namespace vorel {

uint32_t NextCounterValue(const std::wstring& stored) {
    constexpr size_t kValueCapacity = 32;
    return static_cast<uint32_t>(WideToInt(TruncateToBuffer(stored, kValueCapacity))) + 1u;
}

}  // namespace vorel
