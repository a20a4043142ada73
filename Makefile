# Thin front for the CMake presets. `make test` is what CI runs.
.PHONY: all deps build build-linux build-windows test test-linux test-windows run clean

JOBS ?= $(shell nproc)
# The Windows tests share one virtual display when the caller has none.
XRUN := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24")

all: build

deps:
	@scripts/deps.sh

build-linux: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)

build-windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

build: build-linux build-windows

test-linux: build-linux
	ctest --preset linux

test-windows: build-windows
	$(XRUN) ctest --preset windows

test: test-linux test-windows

run:
	@echo "Tarvin.exe arrives with the application; until then 'make test' is the way in." >&2
	@exit 1

clean:
	rm -rf build
