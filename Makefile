# The two commands: `make run` builds the program and opens it; `make test` installs what
# is missing, builds everything and runs every test.
.PHONY: all test run setup native windows windows32 lint clean

all: windows windows32

setup:
	@tools/setup.sh

native: setup
	cmake --workflow --preset native

windows windows32: setup
	cmake --preset $@
	cmake --build --preset $@

# The 64-bit program alone: neither GoogleTest nor the test programs.
run: setup
	cmake --preset windows
	cmake --build --preset windows --target morvalen
	tools/run.sh

lint: setup
	tools/lint.sh

# Both programs are tested even when the first fails; a Ctrl-C stops at once.
test: setup
	cmake --workflow --preset native
	@$(MAKE) --no-print-directory windows windows32
	tools/lint.sh
	@for exe in build/windows/morvalen.exe build/windows32/morvalen.exe; do \
	echo "release: $$exe, $$(stat -c %s $$exe) bytes, SHA-256 $$(sha256sum < $$exe | cut -c1-64)"; done
	@trap 'exit 130' INT TERM; status=0; \
	for preset in windows windows32; do ctest --preset $$preset || status=1; done; \
	tools/count-lines.sh; exit $$status

clean:
	-tools/wine-session.sh stop
	-MORVALEN_WINE_SESSION=run tools/wine-session.sh stop
	rm -rf build
