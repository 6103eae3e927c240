BUILD := build
# A folder with the maker's 183.zip ... 188.zip to embed instead of the stand-ins; "-" goes back to them.
PACKAGES ?=
PACKAGES_ARG := $(if $(PACKAGES),-DVERSION_PACKAGES_DIR=$(if $(filter -,$(PACKAGES)),,$(abspath $(PACKAGES))))

.PHONY: setup build test demo
setup:
	sh tools/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake -DCMAKE_BUILD_TYPE=Release $(PACKAGES_ARG)
	cmake --build $(BUILD) -j2

test: build
	sh tools/run-tests.sh $(BUILD)

demo: build
	sh tools/demo.sh $(BUILD)
