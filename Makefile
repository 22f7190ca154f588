# Shortcuts for developers who have make; each calls the script the README names.
# BUILD_DIR picks the build folder, WERROR=ON turns compiler warnings into errors, PREFIX is
# where `make install` puts Korumi.
BUILD_DIR ?= build
WERROR ?= OFF
PREFIX ?= /usr/local
export KORUMI_BUILD_DIR = $(BUILD_DIR)
export KORUMI_WERROR = $(WERROR)

.PHONY: deps build run test bench format install package

deps:
	@bash scripts/setup-deps.sh

build:
	@bash scripts/build.sh

run:
	@bash scripts/run.sh

test:
	@bash scripts/test.sh

install:
	@bash scripts/install.sh "$(PREFIX)"

package:
	@bash scripts/package.sh

bench: build
	@bash bench/run-all.sh $(BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i
