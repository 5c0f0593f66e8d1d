# Top-level entry points. Each target installs what is missing first, so that both work
# on a fresh Debian 12 machine.
BUILD  ?= build
NATIVE := $(BUILD)/native
# The shipped 32-bit build, always with its tests: a calling-convention or pointer-size
# mistake then fails the build on every machine, also where the tests run the 64-bit one.
WIN    := $(BUILD)/win
# The build the Windows tests run: the shipped one where this machine executes 32-bit code,
# else the same sources for 64-bit Windows (docs/testing.md).
TEST_ARCH := $(shell bash scripts/test-arch.sh)
ifeq ($(TEST_ARCH),i686)
WINTEST := $(WIN)
else
WINTEST := $(BUILD)/win-$(TEST_ARCH)
endif
JOBS   ?= $(shell nproc)
# Parallel checkouts give each build its own publisher port.
PUBLISHER_PORT ?= 18461
export PUBLISHER_PORT
DEPLOY := -DVOREL_PUBLISHER_HOST=localhost:$(PUBLISHER_PORT) -DVOREL_GAME_HOST=localhost:$(PUBLISHER_PORT) \
	  -DVOREL_HALL_SITE=http://localhost:$(PUBLISHER_PORT)/hall/
SANITIZE := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined

.PHONY: all deps native win wintest test test-native test-win run clean

all: native win

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# A Windows build, with its architecture recorded for scripts/wine-env.sh:
# $(call win_build,<folder>,<i686|x86_64>,<BUILD_TESTING>)
define win_build
@cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=$(3) \
  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw-$(2).cmake $(DEPLOY) >/dev/null
@echo $(2) > $(1)/vorel-arch
@cmake --build $(1) -j $(JOBS)
endef

win: deps
	$(call win_build,$(WIN),i686,ON)

ifneq ($(WINTEST),$(WIN))
wintest: deps
	$(call win_build,$(WINTEST),$(TEST_ARCH),ON)
else
wintest: win
endif

test-native: native
	@cd $(NATIVE) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# One at a time: the Windows tests share one prefix, its registry and its product folder.
test-win: wintest
	@VOREL_SHIPPED_EXE='Z:$(subst /,\,$(abspath $(WIN)))\TolvVorel.exe' bash scripts/test-session.sh $(WINTEST) ctest --test-dir $(WINTEST) --output-on-failure -j 1

test: deps
	@bash scripts/run-all-tests.sh

run: wintest
	@bash scripts/run.sh $(WINTEST)

# Figures, not a test: what a full-size skin paint costs next to a plain BitBlt.
.PHONY: bench
# A program of the test build run in a test session of its own: $(call in_session,<exe> [args])
in_session = bash scripts/test-session.sh $(WINTEST) bash scripts/wine-exec.sh $(abspath $(WINTEST))/$(1)
bench: wintest
	@$(call in_session,skin_paint_bench.exe)
# Download throughput of the fetch's chunk sizes against 64 KiB reads and curl; MD5 throughput.
	@bash scripts/download-bench.sh $(WINTEST)
# The main window with three tabs: hit test and strip repaint at 1920 pixels, a minute's idle CPU.
	@$(call in_session,vorel_benchmarks.exe --gtest_filter='MainWindowBench.*')
# The keyboard hook procedure's cost per key event, with and without a hotkey.
	@$(call in_session,vorel_benchmarks.exe --gtest_filter='KeyboardHookBench.*')

# Every benchmark side by side in one test session, printed as the table of ratios of
# docs/PERFORMANCE.md: start-up, working set and idle CPU against a minimal dialog program,
# paint, hook, downloads against WinINet and curl, MD5, executable sizes.
.PHONY: performance screenshots
performance: win wintest
	@bash scripts/performance.sh $(WINTEST) $(WIN)

# Every window photographed under Xvfb into docs/ (docs/screens.md shows them).
screenshots: wintest
	@bash scripts/screenshots.sh $(WINTEST)

# Fuzzing the core's parsers: libFuzzer under ASan and UBSan, natively with clang, in a build
# of its own. make fuzz runs every target for FUZZ_SECONDS (two at a time with FUZZ_JOBS=2),
# niced; fuzz-smoke is the short fixed run that make test does.
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 600
FUZZ_JOBS ?= 1
.PHONY: fuzz fuzz-build fuzz-smoke
fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DVOREL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

fuzz-smoke: fuzz-build
	@cd $(FUZZ) && ctest --output-on-failure -j $(JOBS)

fuzz: fuzz-build
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(FUZZ_JOBS) bash scripts/fuzz.sh $(FUZZ)

clean:
	rm -rf $(BUILD)
