"""Turns the benchmark JSON and the `velo apply --timings` lines into one table."""
import json
import re
import sys

IMAGES = {0: "4096x4096 RGBA, semi-transparent", 1: "20 MP RGB photo"}
SETS = {97: "(a) 5 RGB", 98: "(b) 3 RGB + 2 HSB", 99: "(c) 1 RGB"}


def main(pass_json, *apply_files):
    data = json.load(open(pass_json))
    rates = {}
    copy = {}
    influence = {}
    for b in data["benchmarks"]:
        args = [int(a) for a in re.findall(r"/(\d+)", b["name"].split("/min_time")[0])]
        rate = b["items_per_second"] / 1e6
        if b["name"].startswith("Copy"):
            copy[args[0]] = rate
        elif b["name"].startswith("Influence"):
            influence[tuple(args)] = rate
        else:
            rates[(b["name"].split("/")[0],) + tuple(args)] = rate
    threads = max(k[4] for k in rates)
    context = data["context"]
    print(f"Machine: {context.get('num_cpus')} cores at {context.get('mhz_per_cpu')} MHz; "
          f"{threads} threads for 'all'. Rates in Mpixel/s.")
    print()
    print("| image | set | reference 1 thread | fast 1 thread | speed-up | reference all | fast all "
          "| fast/copy | engine 1 thread | engine/fast | engine all | engine all/1 |")
    print("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for img, image_name in IMAGES.items():
        for s, set_name in SETS.items():
            ref1 = rates[("Pass", img, s, 0, 1)]
            fast1 = rates[("Pass", img, s, 1, 1)]
            refn = rates[("Pass", img, s, 0, threads)]
            fastn = rates[("Pass", img, s, 1, threads)]
            eng1 = rates[("Engine", img, s, 1, 1)]
            engn = rates[("Engine", img, s, 1, threads)]
            print(f"| {image_name} | {set_name} | {ref1:.1f} | {fast1:.0f} | {fast1 / ref1:.1f}x "
                  f"| {refn:.1f} | {fastn:.0f} | {100 * fastn / copy[img]:.1f}% | {eng1:.0f} "
                  f"| {100 * eng1 / fast1:.0f}% | {engn:.0f} | {engn / eng1:.2f}x |")
    print()
    for img, image_name in IMAGES.items():
        plain = rates[("Pass", img, 97, 1, 1)]
        reach = rates[("Pass", img, ord("r"), 1, 1)]
        oklab = rates[("Pass", img, ord("o"), 1, 1)]
        print(f"Fast, 1 thread, {image_name}: set (a) {plain:.0f}, with a reach of 0.15 on each "
              f"{reach:.0f} ({100 * (plain / reach - 1):+.0f}% time), in oklab {oklab:.0f} "
              f"({oklab / plain:.2f}x) Mpixel/s")
    print()
    for img, image_name in IMAGES.items():
        print(f"Memory copy, {image_name}: {copy[img]:.0f} Mpixel/s")
    print()
    for s, set_name in SETS.items():
        owners, selected = influence[(s, 0)], influence[(s, 1)]
        # LiveDisplay's preview of the map is at most 100 000 pixels.
        print(f"Influence map, 1 thread, set {set_name}: owners {owners:.1f}, one row selected "
              f"{selected:.1f} Mpixel/s; a full preview {100000 / 1000 / owners:.1f} ms")
    print()
    for path in apply_files:
        for line in open(path):
            print(f"velo apply, set (a), 20 MP JPEG to {path.split('-')[-1][:-4].upper()}: "
                  f"{line.split(': ', 2)[-1].strip()}")


if __name__ == "__main__":
    main(*sys.argv[1:])
