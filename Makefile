BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
JOBS ?= $(shell nproc 2>/dev/null || echo 4)

.PHONY: deps configure build run test test-sanitize bench clean

deps:
	@./scripts/install-deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/kestrel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite again in a build of its own under AddressSanitizer and UndefinedBehaviorSanitizer.
# Every process of the run (tests, the fake tool, the application a test starts) writes its report
# to a file, so a report from a child whose output a test does not show still fails the run.
# CTEST_ARGS narrows the run, e.g. CTEST_ARGS="-R LogsBurst".
SANITIZE_BUILD ?= build-sanitize
SANITIZER_REPORTS = $(CURDIR)/$(SANITIZE_BUILD)/sanitizer-reports
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:log_path=$(SANITIZER_REPORTS)/report \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/leak-suppressions.txt:print_suppressions=0
CTEST_ARGS ?=

test-sanitize: deps
	@[ -f $(SANITIZE_BUILD)/build.ninja ] || cmake -S . -B $(SANITIZE_BUILD) $(CMAKE_FLAGS) -DKESTREL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@rm -rf $(SANITIZER_REPORTS) && mkdir -p $(SANITIZER_REPORTS)
	@cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS); \
	status=$$?; \
	if [ -n "$$(ls -A $(SANITIZER_REPORTS))" ]; then \
	  for report in $(SANITIZER_REPORTS)/*; do echo "== $$report"; cat "$$report"; done; \
	  echo "sanitizer reports above (kept in $(SANITIZER_REPORTS))"; exit 1; \
	fi; \
	exit $$status

bench: build
	$(BUILD)/bench/kestrel_bench

clean:
	rm -rf $(BUILD)

# Fuzzes the device probe parser for FUZZ_SECONDS (default 60) in a build of its own.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: deps
	@[ -f build-fuzz/build.ninja ] || cmake -S . -B build-fuzz $(CMAKE_FLAGS) -DKESTREL_FUZZ=ON
	cmake --build build-fuzz --target fuzz_device_snapshot -j $(JOBS)
	mkdir -p build-fuzz/corpus && cp -n fuzz/corpus/* build-fuzz/corpus/
	build-fuzz/fuzz/fuzz_device_snapshot -max_total_time=$(FUZZ_SECONDS) -max_len=65536 build-fuzz/corpus
