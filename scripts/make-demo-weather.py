#!/usr/bin/env python3
"""Writes demo/WEATHER.DAT: a synthetic year of hourly weather for the demo workspace.

Two header lines, then 8760 rows (hour 1 to 8760) of the ambient temperature in C and the
irradiance on a south-facing collector in W/m2. The values follow the seasons, the course of a
day and weather of a few days' length drawn from a fixed seed, so every run of this script
writes the same file."""
import math
import random

random.seed(14)
days = 365
# Weather of each day: a cloudiness from 0 (clear) to 1 (overcast) and a temperature offset,
# both changing slowly from day to day.
cloud, offset = 0.5, 0.0
weather = []
for d in range(days):
    cloud = min(1.0, max(0.0, 0.6 * cloud + 0.4 * random.random()))
    offset = 0.7 * offset + random.gauss(0.0, 1.6)
    weather.append((cloud, offset))

rows = []
for h in range(1, days * 24 + 1):
    t = h - 0.5  # middle of the hour
    day = int((h - 1) // 24)
    hour = t % 24
    season = math.cos(2 * math.pi * (t / 24 - 15) / 365)  # 1 in mid-January
    cloud, offset = weather[day]
    tamb = 9.0 - 8.5 * season + offset + (3.0 + 2.0 * (1 - cloud)) * math.cos(2 * math.pi * (hour - 15) / 24)
    daylength = 12.0 - 4.0 * season
    sunrise = 12.0 - daylength / 2
    g = 0.0
    if sunrise < hour < 24 - sunrise:
        peak = 750.0 - 300.0 * season
        g = peak * math.sin(math.pi * (hour - sunrise) / daylength) ** 1.5 * (1 - 0.75 * cloud)
    rows.append(f"{tamb:6.1f} {g:6.0f}")

with open("demo/WEATHER.DAT", "w") as f:
    f.write("Hourly weather of a mild year (synthetic), hours 1 to 8760\n")
    f.write("  TAMB C   GSOL W/m2\n")
    f.write("\n".join(rows) + "\n")
