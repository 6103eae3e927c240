BUILD := build

.PHONY: setup build test demo
setup:
	sh tools/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

test: build
	sh tools/run-tests.sh $(BUILD)

demo: build
	sh tools/demo.sh $(BUILD)
