# The two commands: `make run` builds the program and opens it; `make test` installs what
# is missing, builds everything and runs every test.
.PHONY: all test run setup native windows clean

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

test: setup
	cmake --workflow --preset native
	# The Windows tests always get a private display, never the desktop they run from.
	env -u DISPLAY cmake --workflow --preset windows; status=$$?; tools/wine-session.sh stop; exit $$status

clean:
	-tools/wine-session.sh stop
	rm -rf build
