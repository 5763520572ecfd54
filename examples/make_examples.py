#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the example traces for quelmo-replay.

Each trace is a small recorded-style scene at 50 Hz: head samples with a little
sensor noise, a keyboard/mouse idle reading every 0.2 s and a Bluetooth reading
every 2 s, as the app produces them. Run it again after changing a scene.
"""
import math
import random


class Scene:
    def __init__(self, name, title):
        self.name = name
        self.lines = [f"# {title}", "# kind,time,... (see quelmo-replay --help)"]
        self.t = 0.0
        self.heading = 3.0
        self.last_event = -30.0
        self.rssi = -58.0
        self.rng = random.Random(name)
        self.live = True
        self.n = 0

    def note(self, text):
        self.lines.append(f"# {text}")

    def tick(self, vertical=0.0):
        noise = self.rng.gauss(0.0, 0.15)
        if self.live:
            v = vertical + self.rng.gauss(0.0, 0.004)
            self.lines.append(f"m,{self.t:.2f},{self.heading + noise:.3f},{v:.4f}")
        if self.n % 10 == 0:
            idle = max(0.0, self.t - self.last_event)
            self.lines.append(f"i,{self.t:.2f},{idle:.3f}")
        if self.n % 100 == 50 and self.rssi is not None:
            r = self.rssi + self.rng.gauss(0.0, 1.0)
            self.lines.append(f"p,{self.t:.2f},AA-BB-CC-DD-EE-01={r:.0f}")
        self.n += 1
        self.t = round(self.t + 0.02, 2)

    def sit(self, seconds, typing=False):
        for _ in range(round(seconds / 0.02)):
            if typing and self.rng.random() < 0.2:
                self.last_event = self.t
            self.tick()

    def turn(self, to, seconds):
        start = self.heading
        steps = round(seconds / 0.02)
        for i in range(1, steps + 1):
            x = i / steps
            self.heading = start + (to - start) * (0.5 - 0.5 * math.cos(math.pi * x))
            self.tick()

    def walk(self, seconds, amplitude=0.3):
        for _ in range(round(seconds / 0.02)):
            self.tick(amplitude * math.sin(2 * math.pi * 1.9 * self.t))

    def write(self):
        with open(self.name, "w") as f:
            f.write("\n".join(self.lines) + "\n")


def turn_away_and_back():
    s = Scene("turn-away-and-back.trace", "Turning away from the screen and back, while working.")
    s.sit(5, typing=True)
    s.note("a colleague walks up: the user turns to the left")
    s.turn(80, 0.6)
    s.sit(3)
    s.note("back to the screen")
    s.turn(3, 0.5)
    s.sit(3, typing=True)
    s.note("a glance to the right that is too short to frost")
    s.turn(-60, 0.3)
    s.sit(0.1)
    s.turn(3, 0.3)
    s.sit(2, typing=True)
    s.write()


def walk_away_and_back():
    s = Scene("walk-away-and-back.trace", "Getting up and walking off with the earbuds in, then coming back.")
    s.sit(6, typing=True)
    s.sit(3)
    s.note("the user stands up and walks away")
    s.turn(30, 1.0)
    s.walk(6)
    s.rssi = -75.0
    s.walk(4)
    s.note("back at the desk, sitting down")
    s.rssi = -58.0
    s.turn(3, 1.0)
    s.sit(3)
    s.note("a key press clears the away frost")
    s.sit(3, typing=True)
    s.write()


def far_signal_drop():
    s = Scene("far-signal-drop.trace", "Leaving the desk quietly: the Bluetooth signal falls far below its at-desk level.")
    s.sit(12, typing=True)
    s.sit(3)
    s.note("the user slips away without footsteps the earbuds notice")
    s.walk(4, amplitude=0.03)
    s.rssi = -84.0
    s.sit(10)
    s.note("back: the signal recovers and the mouse moves")
    s.rssi = -58.0
    s.sit(4)
    s.sit(3, typing=True)
    s.write()


def loss_while_turned_away():
    s = Scene("loss-while-turned-away.trace", "Turned away, then the earbuds are taken out: the frost stays until input.")
    s.sit(5, typing=True)
    s.turn(-90, 0.7)
    s.sit(2)
    s.note("earbuds out: head data is lost")
    s.lines.append(f"l,{s.t:.2f}")
    s.live = False
    s.sit(5)
    s.note("back at the keyboard")
    s.sit(2, typing=True)
    s.write()


if __name__ == "__main__":
    turn_away_and_back()
    walk_away_and_back()
    far_signal_drop()
    loss_while_turned_away()
