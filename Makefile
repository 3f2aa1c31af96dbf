# Front door: `make test` and `make demo`; also `make bench`, `make fuzz`, `make install`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD?= build-bench
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
CMAKE      ?= cmake
FUZZ_SECONDS ?= 60

# Debian packages that tests and benchmarks use beyond the README's
# prerequisites; `make deps` installs whichever are missing.
DEPS_PACKAGES ?= libspdlog-dev liblog4cxx-dev libexpat1-dev pkg-config rsyslog

.PHONY: all build test test-plain test-asan tsan demo bench fuzz install clean deps

all: build

build:
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	$(CMAKE) --build $(BUILD) -j $(JOBS)

# The packages first, then the two builds one after the other (never racing
# `deps` under `make -j`).
test: deps
	$(MAKE) test-plain
	$(MAKE) test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan:
	$(CMAKE) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMEX_SANITIZE=ON
	$(CMAKE) --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The threaded logging tests under ThreadSanitizer (its own build tree).
TSAN_FLAGS = -fsanitize=thread -g
tsan:
	$(CMAKE) -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_FLAGS="$(TSAN_FLAGS)" -DCMAKE_CXX_FLAGS="$(TSAN_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread
	$(CMAKE) --build $(TSAN_BUILD) -j $(JOBS) --target test_logging
	cd $(TSAN_BUILD)/tests && ILXDIR=$(CURDIR)/$(TSAN_BUILD)/share/lumex/codeset/ LC_ALL= LANG=C.UTF-8 \
	  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ./test_logging --gtest_filter='Threads.*'

demo: build
	cd $(BUILD) && ILXDIR=$(CURDIR)/$(BUILD)/share/lumex/codeset/ ./examples/demo

deps:
	@missing=$$(for p in $(DEPS_PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing: $$missing"; \
	  if [ "$$(id -u)" = 0 ]; then SUDO=; else SUDO=sudo; fi; \
	  $$SUDO apt-get update -qq && $$SUDO apt-get install -y -qq $$missing; \
	fi

bench: deps
	$(CMAKE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMEX_TESTS=OFF -DLUMEX_BENCH=ON
	$(CMAKE) --build $(BENCH_BUILD) -j $(JOBS)
	cd $(BENCH_BUILD) && for b in bench/bench_*; do \
	  [ -x "$$b" ] || continue; echo "== $$b"; \
	  ILXDIR=$(CURDIR)/$(BENCH_BUILD)/share/lumex/codeset/ ./$$b || exit 1; done

# Real fuzzing with clang's libFuzzer: every target for FUZZ_SECONDS seconds,
# new inputs go to a scratch folder; the saved corpus stays small.
fuzz:
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMEX_FUZZ=ON
	$(CMAKE) --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	cd $(FUZZ_BUILD) && for f in tests/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; n=$$(basename $$f); n=$${n#fuzz_}; \
	  mkdir -p scratch/$$n; echo "== $$f"; \
	  ILXDIR=$(CURDIR)/$(FUZZ_BUILD)/share/lumex/codeset/ ./$$f -max_total_time=$(FUZZ_SECONDS) \
	    scratch/$$n $(CURDIR)/tests/fuzz/corpus/$$n || exit 1; done

install: build
	$(CMAKE) --install $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD)
