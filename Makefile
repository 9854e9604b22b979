# The two commands: `make run` builds the program and opens it; `make test` installs what
# is missing, builds everything and runs every test.
.PHONY: all test run setup native windows fuzz lint clean

all: windows

setup:
	@tools/setup.sh

native: setup
	cmake --workflow --preset native

windows: setup
	cmake --preset windows
	cmake --build --preset windows

run: windows
	tools/run.sh

# The fuzzer for FUZZ_SECONDS (ten minutes unless told); `make test` gives it 30 s.
FUZZ_SECONDS ?= 600
fuzz: setup
	FUZZ_SECONDS=$(FUZZ_SECONDS) cmake --workflow --preset fuzz

lint: setup
	tools/lint.sh

test: setup
	cmake --workflow --preset native
	FUZZ_SECONDS=30 cmake --workflow --preset fuzz
	tools/lint.sh
	@$(MAKE) --no-print-directory windows
	@exe=build/windows/morvalen.exe; \
	echo "release: $$exe, $$(stat -c %s $$exe) bytes, SHA-256 $$(sha256sum < $$exe | cut -c1-64)"
	# The Windows tests always get a private display, never the desktop they run from.
	env -u DISPLAY ctest --preset windows; status=$$?; tools/wine-session.sh stop; exit $$status

clean:
	-tools/wine-session.sh stop
	rm -rf build
