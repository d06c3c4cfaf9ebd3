BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
JOBS ?= $(shell nproc 2>/dev/null || echo 4)

.PHONY: deps configure build run test bench clean

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
