# Everyday commands. `make run` and `make test` install what is missing first.
JOBS       ?= $(shell nproc)
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD?= build-bench
FUZZ_SECONDS ?= 60
BENCH_RUNS ?= 10
SAMPLE_BOOK ?= $(BUILD)/sample/SAMPLE.ADR

CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build test test-app test-asan run bench fuzz clean format install

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Every suite: the core, the command-line tool and the program (offscreen),
# then the core again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build test-asan
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DTESSALY_SANITIZE=ON -DTESSALY_BUILD_APP=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The program, its desktop entry, icon and the book and diary file types
# (PREFIX=/usr/local by default; DESTDIR is honoured).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

run: build
	@scripts/run-sample $(BUILD) $(SAMPLE_BOOK)

# The warm in-process benchmarks, then whole processes on the limit book beside
# `cat` and `cp` + `sync` of the same file, and the contacts beside their peers
# (bench/whole_process.sh).
bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DTESSALY_BUILD_BENCH=ON -DTESSALY_BUILD_TESTS=OFF
	# The command-line tools only: the label run to PDF needs tessaly-print.
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target tessaly_bench tessaly_make_limit_book \
	    write_limit_files tessaly-cli tessaly-print
	$(BENCH_BUILD)/bench/tessaly_bench
	bench/whole_process.sh $(BENCH_BUILD) $(BENCH_RUNS)
	bench/agenda-process $(BENCH_BUILD)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DTESSALY_BUILD_FUZZ=ON -DTESSALY_BUILD_APP=OFF -DTESSALY_BUILD_CLI=ON -DTESSALY_BUILD_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
