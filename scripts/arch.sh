# Sourced by the run, test and benchmark scripts: decides which flavour runs.
# The product is 32-bit, but some machines refuse 32-bit Linux programs, so
# Wine's 32-bit loader cannot start and no 32-bit Windows program runs there.
# Those machines build and run the 64-bit flavour of every program instead.
#   KELVORA_ARCH=i686|x86_64   forces a flavour
#   KELVORA_PROBE_32=no        makes the probe answer "cannot run 32-bit" (a test seam)
kelvora_can_run_32() {
  [ "${KELVORA_PROBE_32:-}" = no ] && return 1
  [ "${KELVORA_PROBE_32:-}" = yes ] && return 0
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${KELVORA_ARCH:-}" ]; then
  # On a fresh machine Wine is not there yet, and the probe would wrongly say
  # "cannot run 32-bit": install what is missing first (quick when nothing is).
  [ -n "${KELVORA_PROBE_32:-}" ] || "$ROOT/scripts/bootstrap.sh"
  if kelvora_can_run_32; then
    KELVORA_ARCH=i686
  else
    KELVORA_ARCH=x86_64
    if [ -z "${KELVORA_ARCH_SAID:-}" ]; then
      echo "This machine cannot run 32-bit programs (Wine's 32-bit loader fails): building and running the 64-bit flavour; the 32-bit product is still built into build/, and ./test.sh checks its programs without running them (build_pe_check)." >&2
      export KELVORA_ARCH_SAID=1
    fi
  fi
fi
case "$KELVORA_ARCH" in
  i686)   KELVORA_DEFAULT_BUILD="$ROOT/build" ;;
  x86_64) KELVORA_DEFAULT_BUILD="$ROOT/build-x86_64" ;;
  *) echo "KELVORA_ARCH must be i686 or x86_64, not '$KELVORA_ARCH'" >&2; exit 2 ;;
esac
export KELVORA_ARCH
