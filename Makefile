# The two commands: `make run` builds the program and opens it; `make test` installs what
# is missing, builds everything and runs every test.
.PHONY: all test run setup native windows lint clean

all: windows

setup:
	@tools/setup.sh

native: setup
	cmake --workflow --preset native

windows: setup
	cmake --preset windows
	cmake --build --preset windows

# The program alone: neither GoogleTest nor the test programs.
run: setup
	cmake --preset windows
	cmake --build --preset windows --target morvalen
	tools/run.sh

lint: setup
	tools/lint.sh

# The Windows tests always get a private display, never the desktop they run from. ctest's
# last test ends the Wine session; the stop after it covers a ctest run cut short before.
test: setup
	cmake --workflow --preset native
	tools/lint.sh
	@$(MAKE) --no-print-directory windows
	@exe=build/windows/morvalen.exe; \
	echo "release: $$exe, $$(stat -c %s $$exe) bytes, SHA-256 $$(sha256sum < $$exe | cut -c1-64)"
	@env -u DISPLAY ctest --preset windows; status=$$?; tools/wine-session.sh stop; \
	tools/count-lines.sh; exit $$status

clean:
	-tools/wine-session.sh stop
	rm -rf build
