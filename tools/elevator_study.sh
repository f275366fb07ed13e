#!/usr/bin/env bash
# The elevator study's figures for the closing notes: the shaft against the
# textbook up-peak round trip, dispatch by estimated time of arrival against
# collective control on the same seeded traffic, and the processor time of a
# game day of a tower of 2,000 people in 16 shafts. Builds
# zentrova-elevators (Release) in build-bench.
#
#   tools/elevator_study.sh [SEEDS]      default 20 paired seeds
#
# The group: 16 floors above the lobby, 4 of the game's cars, 1,200 people,
# an hour of each kind of traffic at a rate that loads the cars well
# without swamping them (percent of the people arriving every five minutes).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seeds="${1:-20}"
build="$root/build-bench"
cmake -S "$root" -B "$build" -DZENTROVA_BENCH=ON -DZENTROVA_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target zentrova-elevators >/dev/null
study="$build/zentrova-elevators"

group=(--floors 16 --cars 4 --population 1200 --minutes 60)
rates=(up-peak:8 down-peak:8 interfloor:10 lunch:10)

runs="$(mktemp)"
trap 'rm -f "$runs"' EXIT
# floors passengers cars floor-time stop-time transfer-time; the last is the game's car
for case in "16 8 4 1.5 10 1.2" "10 12 2 2 8 1" "24 16 6 1.2 6 0.8" "20 10 5 1 9 1.1" "6 6 1 1.5 3 0.9"; do
    read -r n p l tv ts tp <<<"$case"
    "$study" --textbook --floors "$n" --passengers "$p" --cars "$l" --floor-time "$tv" --stop-time "$ts" \
        --transfer-time "$tp" --trips 10000 >>"$runs"
done
for traffic_rate in "${rates[@]}"; do
    traffic="${traffic_rate%%:*}"
    rate="${traffic_rate##*:}"
    for seed in $(seq 1 "$seeds"); do
        for dispatch in collective eta; do
            "$study" "${group[@]}" --traffic "$traffic" --rate "$rate" --dispatch "$dispatch" --seed "$seed" >>"$runs"
        done
    done
done
for run in 1 2 3 4 5; do
    "$study" --day --shafts 16 --population 2000 --seed "$run" >>"$runs"
done

python3 - "$runs" "$seeds" <<'PYTHON'
import json, statistics, sys

rows = [json.loads(line) for line in open(sys.argv[1])]
seeds = int(sys.argv[2])
goals = {"up-peak": ("no more than 5% longer", lambda change: change <= 5),
         "down-peak": ("no more than 5% longer", lambda change: change <= 5),
         "interfloor": ("at least 10% shorter", lambda change: change <= -10),
         "lunch": ("at least 10% shorter", lambda change: change <= -10)}
books = [r for r in rows if r["mode"] == "textbook"]
if books:
    print(f"Up-peak round trip, the shaft against the formula ({books[0]['trips']} trips each)")
    print(f"{'N':>3} {'P':>3} {'L':>2} {'TV/TS/TP s':>14} {'tick':>5} | {'RTT sim':>8} {'formula':>8} {'diff':>7} | "
          f"{'S sim/formula':>15} | {'H sim/formula':>15} | {'interval':>15} | {'HC/5min':>15}")
    for r in books:
        times = f"{r['floor_time_s']:g}/{r['stop_time_s']:g}/{r['transfer_time_s']:g}"
        print(f"{r['floors']:>3} {r['passengers']:>3} {r['cars']:>2} {times:>14} {r['tick_s']:>5g} | "
              f"{r['round_trip_s']:>7.2f}s {r['formula_round_trip_s']:>7.2f}s {r['round_trip_difference_percent']:>+6.2f}% | "
              f"{r['stops']:>6.3f}/{r['formula_stops']:<8.3f} | {r['highest_reversal']:>6.3f}/{r['formula_highest_reversal']:<8.3f} | "
              f"{r['interval_s']:>6.2f}/{r['formula_interval_s']:<7.2f}s | "
              f"{r['handling_capacity_5min']:>6.1f}/{r['formula_handling_capacity_5min']:<8.1f}")
    print()

traffic_rows = [r for r in rows if r["mode"] == "traffic"]
first = traffic_rows[0]
print(f"Average wait, ETA against collective control: {first['floors']} floors, {first['cars']} cars, "
      f"{first['population']} people, {first['minutes']} minutes, {seeds} paired seeds")
print(f"{'traffic':<11} {'rate %':>6} {'people':>7} | {'collective':>10} {'eta':>8} {'change':>8} "
      f"{'eta wins/ties':>13} | {'max wait c/e':>13} {'>60s c/e':>13} {'journey c/e':>13} | goal")
for traffic in goals:
    runs = {d: [r for r in traffic_rows if r["traffic"] == traffic and r["dispatch"] == d]
            for d in ("collective", "eta")}
    if not runs["eta"]:
        continue
    mean = {d: statistics.mean(r["awt_s"] for r in runs[d]) for d in runs}
    change = 100 * (mean["eta"] - mean["collective"]) / mean["collective"]
    wins = sum(e["awt_s"] < c["awt_s"] for c, e in zip(runs["collective"], runs["eta"]))
    ties = sum(e["awt_s"] == c["awt_s"] for c, e in zip(runs["collective"], runs["eta"]))
    worst = {d: statistics.mean(r["max_wait_s"] for r in runs[d]) for d in runs}
    over = {d: statistics.mean(r["p_wait_over_60s"] for r in runs[d]) for d in runs}
    journey = {d: statistics.mean(r["mean_journey_s"] for r in runs[d]) for d in runs}
    people = statistics.mean(r["generated"] for r in runs["eta"])
    goal, met = goals[traffic]
    print(f"{traffic:<11} {runs['eta'][0]['rate']:>6g} {people:>7.0f} | {mean['collective']:>9.1f}s "
          f"{mean['eta']:>7.1f}s {change:>+7.1f}% {wins:>5}/{ties:<2} of {len(runs['eta']):<2} | "
          f"{worst['collective']:>5.0f}/{worst['eta']:<5.0f}s  {over['collective']:>5.1%}/{over['eta']:<6.1%} "
          f"{journey['collective']:>5.0f}/{journey['eta']:<5.0f}s | {goal}: {'met' if met(change) else 'NOT MET'}")

days = [r for r in rows if r["mode"] == "day"]
if days:
    d = days[0]
    times = sorted(r["processor_s"] for r in days)
    print(f"\nA game day ({d['ticks']} ticks) of {d['shafts']} one-car shafts and {d['population']} people, "
          f"{statistics.mean(r['generated'] for r in days):.0f} trips: median {statistics.median(times) * 1000:.1f} ms "
          f"of processor time over {len(days)} seeds (slowest {times[-1] * 1000:.1f} ms); goal under 1 s")
PYTHON
