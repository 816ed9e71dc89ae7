# make run    builds the app and runs it (on Linux, on the simulated Mac)
# make test   builds everything and runs the whole test suite
# make bench  builds and runs the benchmarks
.PHONY: run test bench format deps

deps:
	@scripts/ensure-deps

run: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target lumora-virir
	@scripts/run-app build/release

test: deps
	@cmake --preset test >/dev/null
	@cmake --build --preset test
	@ctest --preset test

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@build/bench/bin/lumora-bench

format:
	@git ls-files '*.h' '*.cpp' '*.mm' | xargs clang-format -i
