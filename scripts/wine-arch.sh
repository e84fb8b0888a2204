#!/usr/bin/env bash
# Prints the Windows architecture that this machine's Wine can run: i686 when the kernel
# executes 32-bit code (Wine's 32-bit loader starts), x86_64 otherwise. The deliverables are
# always built for i686; on an x86_64-only machine the tests run a 64-bit build of the same
# sources.
if [ -n "${VELLORA_WINE_ARCH:-}" ]; then
    echo "$VELLORA_WINE_ARCH"
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo i686
else
    echo x86_64
fi
