# Debian package: `make package` builds it, `make test-package` installs it into
# a clean prefix and starts both programs from there.
.PHONY: package test-package

package: deps
	cmake --preset release -DBUILD_TESTING=OFF >/dev/null
	cmake --build --preset release
	cd build-release && cpack

test-package: package
	scripts/check-package build-release
