# Korumi's two entry points: `make run` and `make test` (see README.md).
BUILD_DIR ?= build
WERROR ?= OFF
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORUMI_WERROR=$(WERROR)

.PHONY: deps build run test bench format

deps:
	@bash scripts/setup-deps.sh

build: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ] || ! grep -q "KORUMI_WERROR:BOOL=$(WERROR)" $(BUILD_DIR)/CMakeCache.txt; then \
		cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS); fi
	@cmake --build $(BUILD_DIR) -j2

run: build
	@bash scripts/run.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2

bench: build
	@bash bench/run-all.sh $(BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i
