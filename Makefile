# The two commands a user needs: `make run` (the demo) and `make test` (every test,
# then every test again under AddressSanitizer + UndefinedBehaviorSanitizer).

JOBS      ?= $(shell nproc)
BUILD     ?= build
ASAN_BUILD ?= build-asan
CMAKE_GEN := -G Ninja
CTEST_ARGS ?= --output-on-failure --no-tests=error -j $(JOBS)

.PHONY: all deps build build-asan test test-fast test-asan bench format clean run

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DSANITIZE=address,undefined -DORVWS_BUILD_BENCH=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The regular build's tests only (quick feedback while working).
test-fast: build
	ctest --test-dir $(BUILD) $(CTEST_ARGS)

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) $(CTEST_ARGS)

test: test-fast test-asan

bench: build
	./scripts/run-bench.sh $(BUILD)

format:
	find platform transport framework app host tests bench examples \
	  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r clang-format -i

# The demo: build, stage the pump calculation into $(BUILD)/demo/ and serve it until
# Ctrl-C.
run: build
	./scripts/stage-demo.sh $(BUILD)
	@echo "Open http://127.0.0.1:8001/$$/start (Ctrl-C stops the server)"
	exec $(BUILD)/demo/ORVWS -SERVE

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
