# The speed report's walk (bench/setup-speed.sh): KELP_BENCH_PAYLOAD, when set,
# is put into Setup.exe as its payload; KELP_BENCH_ARG is the driver's argument.
if [ -n "${KELP_BENCH_PAYLOAD:-}" ]; then
  cp "$KELP_BENCH_PAYLOAD" payload.zarc
  "$loader" kelp_setres.exe Setup.exe DATA payload.zarc ZARC || { echo "cannot put the payload in" >&2; exit 1; }
fi
arg=${KELP_BENCH_ARG:-}
