# The two commands of the README:
#   make run    build Quillet and start it on the bundled sample database
#   make test   build Quillet and run every test
# Both install the Debian packages they need first (scripts/install-deps.sh).
#   make install [PREFIX=...]   build and install (DESTDIR is honoured)
#   make deb                    build the Debian package into $(BUILD)/
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: all build run test test-sanitize bench screenshot install uninstall deb check-package clean

all: build

build:
	@scripts/install-deps.sh build
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/bin/quillet -udl $(BUILD)/bin/sample.udl

test:
	@scripts/install-deps.sh test
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize:
	@$(MAKE) --no-print-directory test BUILD=build-sanitize CMAKE_FLAGS="-DQUILLET_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

bench:
	@scripts/install-deps.sh bench
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)
	bench/run-all.sh $(BUILD)

screenshot: build
	@scripts/install-deps.sh shots
	xvfb-run -a -s "-screen 0 1280x800x24" sh -c 'openbox & sleep 1; $(BUILD)/bin/quillet & sleep 3; import -window root $(BUILD)/screenshot.png; kill $$!'
	@echo "$(BUILD)/screenshot.png"

install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip
# Desktops find file types through caches: refresh them for a live install.
ifeq ($(DESTDIR),)
	@if command -v update-desktop-database >/dev/null; then update-desktop-database -q $(PREFIX)/share/applications; fi
	@if command -v update-mime-database >/dev/null; then update-mime-database $(PREFIX)/share/mime; fi
endif

uninstall:
	xargs -r -d '\n' rm -f < $(BUILD)/install_manifest.txt

deb: build
	@scripts/install-deps.sh package
	cd $(BUILD) && cpack -G DEB

# Builds the package, unpacks it into a scratch root and starts the program there.
check-package: deb
	scripts/check-package.sh $(BUILD)

clean:
	rm -rf build build-sanitize
