# Zorva: build, run and test. Every target installs the Debian packages it
# needs when something is missing (as root, or through sudo).

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
PKG_BUILD ?= build-pkg
CMAKE_FLAGS ?=
# Build jobs; empty lets Ninja choose.
JOBS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Packages needed to build, run, test and package the program (Clipper for
# the loop layout's offsets, dxflib for DXF in and out, python3-ezdxf to read
# the written DXF back in a test).
DEPS := qt6-base-dev qt6-charts-dev qt6-svg-dev qt6-translations-l10n cmake ninja-build g++ \
        make fonts-arphic-uming fonts-liberation xauth xvfb desktop-file-utils appstream dpkg-dev \
        poppler-utils libpolyclipping-dev libdxflib-dev python3-ezdxf
# Packages for the fuzz targets only: clang and its libFuzzer and sanitizer
# runtimes.
FUZZ_DEPS := clang-14 libclang-rt-14-dev
# Packages for the source checks only (`make check`): the formatter and
# Python for the include, layer and licence scripts in tools/.
CHECK_DEPS := clang-format python3

FUZZ_TARGETS := fuzz_numparse fuzz_calculate fuzz_record fuzz_project fuzz_csvimport \
    fuzz_valvefile
# Seconds each fuzz target runs for `make fuzz` and for `make fuzz-smoke`.
FUZZ_SECONDS ?= 600
FUZZ_SMOKE_SECONDS ?= 12

BUILD_JOBS = $(if $(JOBS),-j $(JOBS))

# Installs the packages of $(1) that are not installed yet.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi
endef

# Runs every fuzz target for $(1) seconds, one after another. New inputs go
# to $(FUZZ_BUILD)/corpus, the seeds in fuzz/corpus are only read; an input
# that breaks a target is saved in $(FUZZ_BUILD)/artifacts and fails the run.
define run-fuzzers
	@mkdir -p $(FUZZ_BUILD)/artifacts $(FUZZ_BUILD)/logs; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  log=$(FUZZ_BUILD)/logs/$$t.log; \
	  echo "== $$t: $(1) s"; \
	  if ! $(FUZZ_BUILD)/$$t -max_total_time=$(1) -timeout=10 -print_final_stats=1 \
	      -dict=fuzz/$${t#fuzz_}.dict -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- \
	      $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t >$$log 2>&1; then \
	    tail -n 60 $$log; echo "== $$t FAILED (log: $$log)"; exit 1; \
	  fi; \
	  grep -E '^#[0-9]+[[:space:]]+DONE' $$log | tail -n 1; \
	  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' $$log; \
	done
endef

.PHONY: all deps fuzz-deps check-deps check configure build run test test-sanitize fuzz-build \
        fuzz fuzz-smoke package clean

all: build

deps:
	$(call install-missing,$(DEPS))

fuzz-deps:
	$(call install-missing,$(FUZZ_DEPS))

check-deps:
	$(call install-missing,$(CHECK_DEPS))

# The source checks, in seconds: no include cycle and no include across the
# layers (tools/check-includes), the licence line in every C++ file
# (tools/add-spdx --check), and every C++ file as clang-format leaves it.
check: check-deps
	@status=0; \
	python3 tools/check-includes || status=1; \
	python3 tools/add-spdx --check || status=1; \
	files=$$(git ls-files -- '*.cpp' '*.h'); \
	clang-format --dry-run -Werror $$files || status=1; \
	echo "clang-format: $$(echo $$files | wc -w) files checked"; \
	exit $$status

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) $(BUILD_JOBS)

run: build
	./$(BUILD)/src/app/zorva

test: build
	cd $(BUILD) && ctest --output-on-failure -j 2

# The whole project and its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report fails the test.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVA_SANITIZE=ON -DZORVA_BENCH=OFF \
	  -DZORVA_DEBUG_INFO=lines $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD) $(BUILD_JOBS)
	cd $(SANITIZE_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j 2

fuzz-build: deps fuzz-deps
	cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) $(BUILD_JOBS)

fuzz: fuzz-build
	$(call run-fuzzers,$(FUZZ_SECONDS))

fuzz-smoke: fuzz-build
	$(call run-fuzzers,$(FUZZ_SMOKE_SECONDS))

# A Debian package of the program, with its Qt runtime dependencies.
package: deps
	cmake -S . -B $(PKG_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  $(CMAKE_FLAGS)
	cmake --build $(PKG_BUILD) $(BUILD_JOBS)
	cd $(PKG_BUILD) && cpack -G DEB
	@ls -1 $(PKG_BUILD)/*.deb

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(PKG_BUILD)
