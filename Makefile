# Top-level entry points. Each target installs what is missing first, so that both work
# on a fresh Debian 12 machine.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
JOBS   ?= $(shell nproc)
# Parallel checkouts give each build its own publisher port.
PUBLISHER_PORT ?= 18461
export PUBLISHER_PORT
SANITIZE := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined

.PHONY: all deps native win test test-native test-win run clean

all: native win

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw-i686.cmake \
	  -DVOREL_PUBLISHER_HOST=localhost:$(PUBLISHER_PORT) -DVOREL_GAME_HOST=localhost:$(PUBLISHER_PORT) \
	  -DVOREL_HALL_SITE=http://localhost:$(PUBLISHER_PORT)/hall/ >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

test-native: native
	@cd $(NATIVE) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

test-win: win
	@bash scripts/test-session.sh $(WIN) ctest --test-dir $(WIN) --output-on-failure -j $(JOBS)

test: deps
	@bash scripts/run-all-tests.sh

run: win
	@bash scripts/run.sh $(WIN)

clean:
	rm -rf $(BUILD)
