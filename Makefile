# Quick start: `make run` and `make test`. Every target installs missing packages first.
BUILD_DIR     ?= build
SAN_DIR       ?= build-san
BENCH_DIR     ?= build-bench
BUILD_TYPE    ?= RelWithDebInfo
JOBS          ?= $(shell nproc)
CMAKE_FLAGS   ?=

.PHONY: all deps build test test-core test-san run bench clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The whole suite's tests, then the core again under AddressSanitizer and UBSan.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-san

test-san: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEPHRA_CORE_ONLY=ON -DZEPHRA_SANITIZE=ON
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD_DIR)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEPHRA_BENCH=ON -DZEPHRA_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	bash bench/run.sh $(BENCH_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(BENCH_DIR)
