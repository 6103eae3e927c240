BUILD := build
# A folder with the maker's 183.zip ... 188.zip to embed instead of the stand-ins; "-" goes back to them.
PACKAGES ?=
PACKAGES_ARG := $(if $(PACKAGES),-DVERSION_PACKAGES_DIR=$(if $(filter -,$(PACKAGES)),,$(abspath $(PACKAGES))))

# Where this machine cannot run 32-bit code (some virtual machines allow 64-bit user code only),
# the tests and the demo run a 64-bit twin of the build, made from the same sources.
RUNS32 := /lib/ld-linux.so.2 --version >/dev/null 2>&1
RUNBUILD = $$($(RUNS32) && echo $(BUILD) || echo $(BUILD)64)

.PHONY: setup build test demo
setup:
	sh tools/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake -DCMAKE_BUILD_TYPE=Release $(PACKAGES_ARG)
	cmake --build $(BUILD) -j2
	$(RUNS32) || cmake -S . -B $(BUILD)64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DCMAKE_BUILD_TYPE=Release \
		-DKELVADI_PRODUCT_BUILD=$(abspath $(BUILD)) $(PACKAGES_ARG)
	$(RUNS32) || cmake --build $(BUILD)64 -j2

test: build
	sh tools/run-tests.sh $(RUNBUILD)

demo: build
	sh tools/demo.sh $(RUNBUILD)
