# The two everyday commands:
#   make run    install what is missing, build, start the program on the simulated board
#   make test   install what is missing, build, run every test
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: run test deps build clean

run: build
	KESTRUM_SIMULATE=1 $(BUILD)/kestrum-eval

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

deps:
	@scripts/install-deps

clean:
	rm -rf $(BUILD)
