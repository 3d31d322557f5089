# Lumetra: the two commands a newcomer needs are `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Extra CMake options, e.g. CMAKE_ARGS=-DLUMETRA_WERROR=ON (as CI builds).
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-sanitize fuzz bench install format format-check clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/app/lumetra samples/pontius.dat

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build.
SANITIZE_DIR ?= build-sanitize
SANITIZE_TARGETS = core_tests cli_tests gui_tests
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETRA_SANITIZE=ON $(CMAKE_ARGS) > /dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS) --target $(SANITIZE_TARGETS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS on its seed corpus.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DLUMETRA_FUZZ=ON > /dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	@bash scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# make install PREFIX=/opt/lumetra (default /usr/local): programs, help, desktop entry, icons,
# data file type and man pages.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails when a file is not formatted as .clang-format says.
format-check:
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
