# tavik: the two everyday commands are `make run` and `make test`.
BUILD       ?= build
CHECK_BUILD ?= build-check
FUZZ_SECONDS ?= 600

.PHONY: all setup configure build run test test-main test-check fuzz bench install package clean

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE='-O2 -DNDEBUG' >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@bash scripts/run.sh $(BUILD)

# Every test: the full build with g++, then the core again under clang with
# AddressSanitizer, UndefinedBehaviorSanitizer and a short fuzzing run.
test: test-main test-check

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure

test-check: setup
	@cmake -S . -B $(CHECK_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_COMPILER=clang++ -DTAVIK_CORE_ONLY=ON -DTAVIK_SANITIZE=ON -DTAVIK_FUZZ=ON >/dev/null
	@cmake --build $(CHECK_BUILD)
	ctest --test-dir $(CHECK_BUILD) --output-on-failure

# A longer fuzzing run of the checklist reader than the one in `make test`.
fuzz: setup
	@cmake -S . -B $(CHECK_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_COMPILER=clang++ -DTAVIK_CORE_ONLY=ON -DTAVIK_SANITIZE=ON -DTAVIK_FUZZ=ON >/dev/null
	@cmake --build $(CHECK_BUILD) --target checklist_reader_fuzzer
	mkdir -p $(CHECK_BUILD)/fuzz/corpus
	$(CHECK_BUILD)/fuzz/checklist_reader_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	  $(CHECK_BUILD)/fuzz/corpus fuzz/corpus

bench: build
	@cmake --build $(BUILD) --target benchmarks
	bash bench/run.sh $(BUILD)

install: build
	cmake --install $(BUILD)

# The Debian package, $(BUILD)/tavik_VERSION_amd64.deb (CPack's DEB generator, packaging/).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(CHECK_BUILD)
