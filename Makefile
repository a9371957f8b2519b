# The two set-up commands: `make demo` (import the bundled sample card, build its album)
# and `make test` (build, run every test, then the core's tests again under ASan and UBSan).
BUILD ?= build
BUILD_ASAN ?= build-asan
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMICRATE_WERROR=ON
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build test test-asan demo run install package package-check clean

all: build

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

# Full unwinding on malloc: leaks inside libraries unloaded since (libgphoto2's port drivers)
# are recognised by the suppressions only with the whole stack.
test-asan: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUMICRATE_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -LE no-sanitizer

demo: build
	scripts/demo.sh $(BUILD)

# Installs into PREFIX (below DESTDIR when given): make install PREFIX=/usr DESTDIR=/tmp/stage
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package $(BUILD)/lumicrate_<version>_<arch>.deb
package: build
	cd $(BUILD) && cpack -G DEB

# Installs the package with apt, tries the installed programs, then removes it again (root).
package-check: package
	scripts/package-check.sh $(BUILD)

# Builds and starts the desktop program.
run: build
	$(BUILD)/lumicrate

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) demo-output demo-home
