# make run      builds the app and runs it (on Linux, on the simulated Mac)
# make test     builds everything and runs the whole test suite
# make bench    builds and runs the benchmarks
# make package  makes the macOS app's zip and disk image (macOS only)
# make fuzz     builds the fuzzing harnesses with clang and runs each for FUZZ_SECONDS (60)
#
# macOS options, for run and package:
#   SPARKLE=/path     the folder holding Sparkle.framework (Sparkle 2.9.4 or later)
#   NO_UPDATER=1      build without the updater instead
#   FEED_URL=https://... PUBLIC_KEY=...   the update feed and its EdDSA public key
#   IDENTITY="Developer ID Application: ..."   signs with it instead of ad hoc
# and, for package with a Developer ID, notary credentials in the environment, which notarize and
# staple the app and the disk image:
#   NOTARY_KEYCHAIN_PROFILE=...   or   NOTARY_KEY=key.p8 NOTARY_KEY_ID=... NOTARY_ISSUER=...
.PHONY: run test bench fuzz package format deps

OPTIONS :=
ifdef SPARKLE
OPTIONS += -DLUMORA_SPARKLE_FRAMEWORK="$(SPARKLE)"
endif
ifdef NO_UPDATER
OPTIONS += -DLUMORA_UPDATER=OFF
endif
ifdef FEED_URL
OPTIONS += -DLUMORA_SPARKLE_FEED_URL="$(FEED_URL)" -DLUMORA_SPARKLE_PUBLIC_KEY="$(PUBLIC_KEY)"
endif
ifdef IDENTITY
OPTIONS += -DLUMORA_CODESIGN_IDENTITY="$(IDENTITY)"
endif

deps:
	@scripts/ensure-deps

run: deps
	@cmake --preset release $(OPTIONS) >/dev/null
	@cmake --build --preset release --target lumora-virir
	@scripts/run-app build/release

test: deps
	@cmake --preset test >/dev/null
	@cmake --build --preset test
	@ctest --preset test
	@if [ "$$(uname -s)" = Linux ] && command -v clang++ >/dev/null; then \
	  echo "A short fuzzing run over each corpus:"; scripts/run-fuzzers 5; fi

fuzz: deps
	@scripts/run-fuzzers $(or $(FUZZ_SECONDS),60)

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@build/bench/bin/lumora-bench

package: deps
ifeq ($(shell uname -s),Darwin)
	@cmake --preset release $(OPTIONS) >/dev/null
	@cmake --build --preset release --target package-app
else
	@echo "make package makes the macOS app, and runs on macOS only." >&2; exit 2
endif

format:
	@git ls-files '*.h' '*.cpp' '*.mm' | xargs clang-format -i
