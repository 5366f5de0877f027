#!/usr/bin/env python3
"""Factory preset generator for Zentak Control.

Builds the built-in data of the plug-in from tables of sound archetypes:

  resources/factory/set1.evl, set2.evl, set3.evl
      three factory data images of 145408 bytes each: four program banks of
      128 programs (192 parameter bytes + 16 name bytes), 32 user wave shapes
      and three combo banks of 128 combos;
  resources/factory/fixed_waves.bin
      the 96 fixed wave shapes (96 x 256 bytes).

Every program is designed here, by category, from a seeded pseudo-random
generator, so the output is byte-identical on every run.  Standard library
only.

  python3 tools/factory/gen_factory.py            write the files
  python3 tools/factory/gen_factory.py --check    validate the files on disk
"""

import argparse
import hashlib
import math
import random
import struct
import sys
from pathlib import Path

# ---------------------------------------------------------------------------
# Data image layout
# ---------------------------------------------------------------------------

IMAGE_SIZE = 145408
PROGRAM_BYTES = 192          # parameter bytes of one program
NAME_BYTES = 16
WAVE_SAMPLES = 128
WAVE_BYTES = 256             # 128 signed 16-bit samples, low byte first
FIXED_WAVES = 96
USER_WAVES = 32
COMBO_BYTES = 80             # 64 bytes of part data + 16 name bytes
COMBO_PART_BYTES = 64
SLOTS = 128
PROGRAM_BANKS = 4
COMBO_BANKS = 3

OFS_PROGRAMS = 0             # bank b, slot s at 24576 b + 192 s
OFS_USER_WAVES = 98304       # 32 x 256 bytes
OFS_NAMES = 106496           # bank b, slot s at 106496 + 2048 b + 16 s
OFS_COMBOS = 114688          # bank c, slot s at 114688 + 10240 c + 80 s


def program_offset(bank, slot):
    return OFS_PROGRAMS + 24576 * bank + PROGRAM_BYTES * slot


def name_offset(bank, slot):
    return OFS_NAMES + 2048 * bank + NAME_BYTES * slot


def combo_offset(bank, slot):
    return OFS_COMBOS + 10240 * bank + COMBO_BYTES * slot


# ---------------------------------------------------------------------------
# Parameter catalogue: (lowest, highest, initial value, name) for 0..127
# ---------------------------------------------------------------------------

PARAMS = [
    (  0, 120,  24, "OCS1 Frequency"),  # 0
    (  0, 100,  49, "OCS1 Fine Tune"),  # 1
    (  0, 102,   0, "OCS1 Shape/PW"),  # 2
    (  0, 100, 100, "OCS1 Level"),  # 3
    (  0, 120,  24, "OCS2 Frequency"),  # 4
    (  0, 100,  51, "OCS2 Fine Tune"),  # 5
    (  0, 102,   0, "OCS2 Shape/PW"),  # 6
    (  0, 100, 100, "OCS2 Level"),  # 7
    (  0, 120,  24, "OCS3 Frequency"),  # 8
    (  0, 100,  50, "OCS3 Fine Tune"),  # 9
    (  0, 127,   1, "OCS3 Shape/PW"),  # 10
    (  0, 100,   0, "OCS3 Level"),  # 11
    (  0, 120,  24, "OCS4 Frequency"),  # 12
    (  0, 100,  50, "OCS4 Fine Tune"),  # 13
    (  0, 127,   1, "OCS4 Shape/PW"),  # 14
    (  0, 100,   0, "OCS4 Level"),  # 15
    (  0, 164, 114, "LPF Frequency"),  # 16
    (  0, 198,  99, "LPF Env Amt"),  # 17
    (  0, 110,   0, "LPF Attack"),  # 18
    (  0, 110,  40, "LPF Decay"),  # 19
    (  0, 100,  40, "LPF Sustain"),  # 20
    (  0, 110,  20, "LPF Release"),  # 21
    (  0, 100,   0, "LPF Resonance"),  # 22
    (  0, 100,   0, "LPF Key Amt"),  # 23
    (  0, 100,   0, "AMP VCA Level"),  # 24
    (  0, 100,   0, "AMP Amount"),  # 25
    (  0, 110,   0, "AMP Attack"),  # 26
    (  0, 110,  40, "AMP Decay"),  # 27
    (  0, 100,  40, "AMP Sustain"),  # 28
    (  0, 110,  20, "AMP Release"),  # 29
    (  0,   6,   0, "AMP Outp Pan"),  # 30
    (  0, 100, 100, "OUTP Volume"),  # 31
    (  0,  48,   0, "FEEDB Frequency"),  # 32
    (  0, 100,   0, "FEEDB Level"),  # 33
    (  0,   1,   0, "FEEDB Grunge"),  # 34
    (  0, 166,   0, "DLY 1 Time"),  # 35
    (  0, 100,   0, "DLY 1 Amount"),  # 36
    (  0, 100,   0, "DLY Feedback 1"),  # 37
    (  0, 100,   0, "DLY Feedback 2"),  # 38
    (  0,  14,   0, "Out Hack Amount"),  # 39
    (  0, 160,  75, "LFO1 Frequency"),  # 40
    (  0,   4,   0, "LFO1 Shape"),  # 41
    (  0, 200,   0, "LFO1 Amount"),  # 42
    (  0,  68,   5, "LFO1 Dstn"),  # 43
    (  0, 160,  50, "LFO2 Frequency"),  # 44
    (  0,   4,   0, "LFO2 Shape"),  # 45
    (  0, 200,   0, "LFO2 Amount"),  # 46
    (  0,  68,   0, "LFO2 Dstn"),  # 47
    (  0, 198,  99, "ENV3 Amount"),  # 48
    (  0,  68,   0, "ENV3 Dstn"),  # 49
    (  0, 110,   0, "ENV3 Attack"),  # 50
    (  0, 110,   0, "ENV3 Decay"),  # 51
    (  0, 100,   0, "ENV3 Sustain"),  # 52
    (  0, 110,   0, "ENV3 Release"),  # 53
    (  0,  13,   0, "ENV3 Trig Sel"),  # 54
    (  0,  73,  13, "Key Off/Xpose"),  # 55
    (  0,  75,   0, "SEQ1 Dstn"),  # 56
    (  0,  75,   0, "SEQ2 Dstn"),  # 57
    (  0,  75,   0, "SEQ3 Dstn"),  # 58
    (  0,  75,   0, "SEQ4 Dstn"),  # 59
    (  0, 100,   0, "NOISE Level"),  # 60
    (  0, 193,   0, "EXIN Input Vol"),  # 61
    (  0,   3,   0, "EXIN Input Mode"),  # 62
    (  0,  14,   0, "EXIN Amount"),  # 63
    (  0, 200,   0, "OSC1 Glide"),  # 64
    (  0,   1,   0, "OSC Sync"),  # 65
    ( 30, 250, 120, "Tempo"),  # 66
    (  0,  12,   2, "Clock Divide"),  # 67
    (  0, 200,   0, "OSC2 Glide"),  # 68
    (  0,   5,   0, "OSC Slop"),  # 69
    (  0,  12,   7, "Pitch Bend Range"),  # 70
    (  0,  23,   1, "Key Mode"),  # 71
    (  0, 200,   0, "OSC3 Glide"),  # 72
    (  0, 100,   0, "FM 4->3"),  # 73
    (  0,   4,   0, "Shape Seq"),  # 74
    (  0, 100,   0, "RM 4->3"),  # 75
    (  0, 200,   0, "OSC4 Glide"),  # 76
    (  0, 100,   0, "FM 3->4"),  # 77
    (  0,   4,   0, "Shape Seq"),  # 78
    (  0, 100,   0, "RM 3->4"),  # 79
    (  0,   1,   1, "LPF 4 Pole"),  # 80
    (  0, 100,   0, "LPF Velocity"),  # 81
    (  0, 100,   0, "LPF Audio Mod"),  # 82
    (  0, 100,   0, "LPF L/R Split"),  # 83
    (  0, 199,   0, "HPF Frequency"),  # 84
    (  0,  24,   0, "Mod 1 Source"),  # 85
    (  0, 198,  99, "Mod 1 Amount"),  # 86
    (  0,  68,   0, "Mod 1 Dstn"),  # 87
    (  0,   1,   0, "Linear/Exp Env"),  # 88
    (  0, 100, 100, "AMP Velocity"),  # 89
    (  0,  24,   0, "Mod 2 Source"),  # 90
    (  0, 198,  99, "Mod 2 Amount"),  # 91
    (  0,  68,   0, "Mod 2 Dstn"),  # 92
    (  0,  24,   0, "Mod 3 Source"),  # 93
    (  0, 198,  99, "Mod 3 Amount"),  # 94
    (  0,  68,   0, "Mod 3 Dstn"),  # 95
    (  0,  24,   0, "Mod 4 Source"),  # 96
    (  0, 198,  99, "Mod 4 Amount"),  # 97
    (  0,  68,   0, "Mod 4 Dstn"),  # 98
    (  0, 166,   0, "DLY 2 Time"),  # 99
    (  0, 100,   0, "DLY 2 Amount"),  # 100
    (  0, 166,   0, "DLY 3 Time"),  # 101
    (  0, 100,   0, "DLY 3 Amount"),  # 102
    (  0, 199,   0, "Distortion"),  # 103
    (  0, 160,  50, "LFO3 Frequency"),  # 104
    (  0,   4,   0, "LFO3 Shape"),  # 105
    (  0, 200,   0, "LFO3 Amount"),  # 106
    (  0,  68,   0, "LFO3 Dstn"),  # 107
    (  0, 160,  50, "LFO4 Frequency"),  # 108
    (  0,   4,   0, "LFO4 Shape"),  # 109
    (  0, 200,   0, "LFO4 Amount"),  # 110
    (  0,  68,   0, "LFO4 Dstn"),  # 111
    (  0, 100,   0, "ENV3 Delay"),  # 112
    (  0, 100,   0, "ENV3 Velocity"),  # 113
    (  0, 198,  99, "EXIN PD Amount"),  # 114
    (  0,  68,   0, "EXIN Peak Dstn"),  # 115
    (  0, 198,  99, "EXIN EFD Amount"),  # 116
    (  0,  68,   0, "EXIN EnvFlwDstn"),  # 117
    (  0, 198,  99, "VD Amount"),  # 118
    (  0,  68,   0, "Velocity Dstn"),  # 119
    (  0, 198, 106, "MDW Amount"),  # 120
    (  0,  68,  43, "Mod Wheel Dstn"),  # 121
    (  0, 198, 141, "PD Amount"),  # 122
    (  0,  68,  20, "Pressure Dstn"),  # 123
    (  0, 198,  99, "BCD Amount"),  # 124
    (  0,  68,   0, "Breath Cnt Dstn"),  # 125
    (  0, 198,  99, "FCD Amount"),  # 126
    (  0,  68,   0, "Foot Cnt Dstn"),  # 127
]
assert len(PARAMS) == 128

# Sequencer steps 128..191: sequence 1 reaches 102 (101 reset, 102 off),
# sequences 2..4 reach 101 (101 reset).
SEQ_STEP_BASE = 128
STEP_RESET = 101
STEP_OFF = 102


def param_range(n):
    """Inclusive (low, high) of program parameter n, 0..191."""
    if n < 128:
        return PARAMS[n][0], PARAMS[n][1]
    return (0, 102) if n < 144 else (0, 101)


INIT_PROGRAM = [p[2] for p in PARAMS] + [0] * 64
BASIC_PROGRAM_NAME = "Basic Program"

# Program categories, stored in byte 117.
CATEGORY_BYTE = 117
CATEGORY_NAMES = [
    "- Not Assigned -", "Keys", "Organs", "Strings", "Soft Lead",
    "Bright Lead", "Res Lead", "Sync", "Soft Bass", "Bright Bass", "Res Bass",
    "Sub Bass", "Brass", "Instruments", "Evolution", "Motion", "Synth", "Vox",
    "Bells", "Harmonics", "Sequence", "Percussion", "Noise", "Sound FX",
    "Pads", "Arpeggiator",
]
CAT = {name: i for i, name in enumerate(CATEGORY_NAMES)}

# ---------------------------------------------------------------------------
# Parameter numbers used by the sound design code
# ---------------------------------------------------------------------------

LPF_FREQ, LPF_ENV, LPF_A, LPF_D, LPF_S, LPF_R, LPF_RES, LPF_KEY = range(16, 24)
AMP_LEVEL, AMP_AMT, AMP_A, AMP_D, AMP_S, AMP_R, AMP_PAN, VOLUME = range(24, 32)
FB_FREQ, FB_LEVEL, FB_GRUNGE = 32, 33, 34
DLY1_TIME, DLY1_AMT, DLY_FB1, DLY_FB2, OUT_HACK = 35, 36, 37, 38, 39
ENV3_AMT, ENV3_DST, ENV3_A, ENV3_D, ENV3_S, ENV3_R, ENV3_TRIG = range(48, 55)
KEY_XPOSE = 55
SEQ_DST = (56, 57, 58, 59)
NOISE = 60
OSC_GLIDE = (64, 68, 72, 76)
SYNC, TEMPO, CLOCK_DIV, SLOP, PB_RANGE, KEY_MODE = 65, 66, 67, 69, 70, 71
FM_4_3, SHAPE_SEQ_3, RM_4_3, FM_3_4, SHAPE_SEQ_4, RM_3_4 = 73, 74, 75, 77, 78, 79
POLE4, LPF_VEL, LPF_AUDIO, LPF_SPLIT, HPF = 80, 81, 82, 83, 84
MOD_SLOTS = (85, 90, 93, 96)        # source; amount and destination follow
ENV_CURVE, AMP_VEL = 88, 89
DLY2_TIME, DLY2_AMT, DLY3_TIME, DLY3_AMT, DIST = 99, 100, 101, 102, 103
LFO_BASE = (40, 44, 104, 108)       # frequency, shape, amount, destination
ENV3_DELAY, ENV3_VEL = 112, 113
EXT_EFD_AMT = 116
VEL_AMT, VEL_DST, MW_AMT, MW_DST = 118, 119, 120, 121
PRESS_AMT, PRESS_DST, BREATH_AMT, BREATH_DST = 122, 123, 124, 125

# Modulation destinations (envelopes 3, LFOs, mod slots, controllers).
D_NONE, D_OSC1, D_OSC2, D_OSC3, D_OSC4, D_OSC_ALL = 0, 1, 2, 3, 4, 5
D_LVL1, D_LVL2, D_LVL3, D_LVL4, D_LVL_ALL, D_NOISE = 6, 7, 8, 9, 10, 11
D_PW1, D_PW2, D_PW_ALL = 13, 14, 15
D_FM43, D_FM34, D_RM43, D_RM34 = 16, 17, 18, 19
D_FILTER, D_SPLIT, D_RES, D_HPF, D_VCA, D_PAN = 20, 21, 22, 23, 24, 25
D_FB_FREQ, D_FB_AMT = 26, 27
D_DLY_TIME1, D_DLY_TIME_ALL, D_DLY_AMT_ALL = 28, 31, 35
D_LFO1_FREQ, D_LFO2_FREQ, D_LFO_ALL_FREQ = 38, 39, 42
D_LFO1_AMT, D_LFO2_AMT = 43, 44
D_ENV1_AMT = 48
D_DIST = 68
# Sequencer-only destinations.
S_CLOCK_MULT = 69

# Modulation sources.
M_SEQ1, M_SEQ2, M_SEQ3, M_SEQ4 = 1, 2, 3, 4
M_LFO1, M_LFO2, M_LFO3, M_LFO4 = 5, 6, 7, 8
M_FILT_ENV, M_AMP_ENV, M_ENV3 = 9, 10, 11
M_PITCHBEND, M_MODWHEEL, M_PRESSURE, M_BREATH = 14, 15, 16, 17
M_VELOCITY, M_NOTE, M_NOISE, M_OSC3, M_OSC4 = 19, 20, 22, 23, 24

# Oscillator 1/2 shapes: 0 saw, 1 triangle, 2 saw/triangle mix, 3.. pulse.
SAW, TRI, MIX = 0, 1, 2


def pulse(width):
    """Pulse shape of width 0..99 (50 = square)."""
    return 3 + max(0, min(99, int(width)))


# LFO shapes.
L_TRI, L_RSAW, L_SAW, L_SQUARE, L_RANDOM = 0, 1, 2, 3, 4
# LFO frequencies 151..160 follow the sequencer clock.
LFO_SEQ_32, LFO_SEQ_16, LFO_SEQ_8, LFO_SEQ_4, LFO_SEQ_2, LFO_1_STEP = range(151, 157)
# Delay times 151..166 follow the sequencer clock.
DLY_SYNC_8, DLY_SYNC_4, DLY_SYNC_2, DLY_SYNC_1 = 153, 154, 155, 156

# Clock divides.
CD_HALF, CD_QUARTER, CD_8TH, CD_8TH_TRIP, CD_16TH = 0, 1, 2, 5, 6

# Key modes (a selection).
KM_LOW_RT, KM_LAST, KM_LAST_RT = 1, 4, 5
KM_MONO_LAST_RT, KM_UNI1_LAST_RT, KM_UNI2_LAST_RT = 11, 17, 23

# Envelope 3 trigger: 0 sequencer and keys, 3 keys with sequence reset.
TRIG_SEQ_MIDI, TRIG_MIDI_RESET = 0, 3

XPOSE_NORMAL = INIT_PROGRAM[KEY_XPOSE]   # keyboard transposition of the init program
BASE = INIT_PROGRAM[0]                   # reference oscillator pitch


def off99(x):
    """Bipolar amount around 99 (Offset99 display: 99 shows 0)."""
    return 99 + int(x)


def fine(x):
    """Fine tune around 50 (Offset50 display: 50 shows 0)."""
    return 50 + int(x)


# ---------------------------------------------------------------------------
# Wave shapes
# ---------------------------------------------------------------------------
#
# The wave bank holds 96 fixed shapes and 32 user shapes.  The fixed family:
#   0..15   harmonic series (sine, saw, square, triangle partial sums)
#   16..31  organ registrations (drawbar-style harmonic mixtures)
#   32..47  formant shapes (vowel-like spectral peaks)
#   48..63  pulse and step shapes
#   64..79  clangorous shapes (FM, sync-like, ring products)
#   80..95  noise-like shapes (random spectra, stepped and crushed)

W_SINE = 0
W_SAW = (1, 2, 3, 4, 5, 6, 7, 14)      # saw partial sums, darker to brighter
W_SQUARE = (8, 9, 10, 11)
W_TRIANGLE = (12, 13)
W_HOLLOW = 15
W_ORGAN = tuple(range(16, 32))
W_FORMANT = tuple(range(32, 48))
W_PULSE = tuple(range(48, 64))
W_CLANG = tuple(range(64, 80))
W_NOISY = tuple(range(80, 96))
W_USER = tuple(range(96, 128))
W_HARMONIC_SOFT = (W_SINE, W_TRIANGLE[0], W_SAW[0], W_SAW[1], W_SQUARE[0], W_HOLLOW)

TWO_PI = 2.0 * math.pi


def normalise(samples):
    """Remove the mean and scale to a peak of 32767; returns 16-bit ints."""
    mean = sum(samples) / len(samples)
    centred = [s - mean for s in samples]
    peak = max(abs(s) for s in centred)
    if peak <= 1e-12:
        return [0] * len(samples)
    out = []
    for s in centred:
        v = int(round(s * 32767.0 / peak))
        out.append(max(-32767, min(32767, v)))
    return out


def additive(partials, n=WAVE_SAMPLES):
    """Sum of sine partials given as (harmonic, amplitude, phase)."""
    out = []
    for i in range(n):
        x = TWO_PI * i / n
        out.append(sum(a * math.sin(k * x + ph) for k, a, ph in partials))
    return out


def sigma(k, top):
    """Lanczos factor that softens the ripple of a truncated series."""
    if k == 0:
        return 1.0
    t = math.pi * k / (top + 1)
    return math.sin(t) / t


def saw_series(top):
    return additive([(k, sigma(k, top) / k, 0.0) for k in range(1, top + 1)])


def square_series(top):
    return additive([(k, sigma(k, top) / k, 0.0) for k in range(1, top + 1, 2)])


def triangle_series(top):
    parts = []
    for j, k in enumerate(range(1, top + 1, 2)):
        parts.append((k, (-1) ** j / (k * k), 0.0))
    return additive(parts)


def pulse_series(duty, top=40):
    # Pulse of the given duty as a cosine series (phase pi/2 turns sine into cosine).
    parts = [(k, sigma(k, top) * math.sin(math.pi * k * duty) / k, math.pi / 2)
             for k in range(1, top + 1)]
    return additive(parts)


# Drawbar-style registrations: nine levels 0..8 for harmonics
# 1, 2, 3, 4, 6, 8, 10, 12, 16 of the cycle.
ORGAN_HARMONICS = (1, 2, 3, 4, 6, 8, 10, 12, 16)
ORGAN_REGISTRATIONS = (
    "880000000", "888000000", "808800000", "868000000",
    "888800000", "800808000", "884400000", "888888888",
    "806040200", "878600000", "800000888", "844422222",
    "888000008", "605030302", "888464000", "820700050",
)


def organ_wave(reg):
    parts = []
    for digit, k in zip(reg, ORGAN_HARMONICS):
        d = int(digit)
        if d:
            parts.append((k, 10.0 ** (-(8 - d) * 3.0 / 20.0), 0.0))
    return additive(parts)


# Vowel formants as harmonic numbers of a low voice (F1, F2, F3).
VOWELS = {
    "a": (5.6, 8.4, 18.8),
    "e": (4.1, 14.2, 19.1),
    "i": (2.1, 17.6, 23.2),
    "o": (4.4, 6.5, 18.5),
    "u": (2.3, 6.7, 17.2),
    "m": (1.9, 9.2, 16.2),
}


def formant_wave(formants, scale=1.0, width=1.3, top=48):
    gains = (1.0, 0.55, 0.3)
    parts = []
    for k in range(1, top + 1):
        a = 0.04 / k
        for f, g in zip(formants, gains):
            fc = f * scale
            a += g * math.exp(-((k - fc) / (width * max(1.0, scale))) ** 2)
        parts.append((k, a, 0.0))
    return additive(parts)


def lerp_formants(fa, fb, t):
    return tuple(a + (b - a) * t for a, b in zip(fa, fb))


def fm_wave(ratio, index, n=WAVE_SAMPLES):
    return [math.sin(TWO_PI * i / n + index * math.sin(ratio * TWO_PI * i / n))
            for i in range(n)]


def sync_wave(ratio, soften=True, n=WAVE_SAMPLES):
    out = []
    for i in range(n):
        ph = i / n
        v = math.sin(TWO_PI * ratio * ph)
        if soften:
            v *= (1.0 - ph)
        out.append(v)
    return out


def ring_wave(a, b, n=WAVE_SAMPLES):
    return [math.sin(TWO_PI * a * i / n) * math.sin(TWO_PI * b * i / n) for i in range(n)]


def random_spectrum(rng, tilt, top=48):
    return additive([(k, rng.uniform(0.3, 1.0) * k ** (-tilt), rng.uniform(0, TWO_PI))
                     for k in range(1, top + 1)])


def stepped_random(rng, hold, n=WAVE_SAMPLES):
    out, v = [], 0.0
    for i in range(n):
        if i % hold == 0:
            v = rng.uniform(-1.0, 1.0)
        out.append(v)
    return out


def random_walk(rng, n=WAVE_SAMPLES):
    out, v = [], 0.0
    for _ in range(n):
        v += rng.uniform(-1.0, 1.0)
        out.append(v)
    # Remove the drift so the cycle closes on itself.
    drift = out[-1]
    return [s - drift * (i + 1) / n for i, s in enumerate(out)]


def crushed_sine(levels, rng, grit, n=WAVE_SAMPLES):
    out = []
    for i in range(n):
        s = math.sin(TWO_PI * i / n)
        q = math.floor((s + 1.0) * 0.5 * levels + 0.5) / levels * 2.0 - 1.0
        out.append(q + rng.uniform(-grit, grit))
    return out


def fixed_waves():
    """The 96 fixed shapes, each a list of 128 samples."""
    w = []
    # 0..15 harmonic series.
    w.append(additive([(1, 1.0, 0.0)]))
    for top in (2, 3, 4, 6, 8, 12, 24):
        w.append(saw_series(top))
    for top in (3, 7, 15, 31):
        w.append(square_series(top))
    w.append(triangle_series(9))
    w.append(triangle_series(31))
    w.append(saw_series(48))
    w.append(additive([(1, 1.0, 0.0)] + [(k, 1.0 / k, 0.0) for k in range(2, 25, 2)]))
    # 16..31 organ registrations.
    for reg in ORGAN_REGISTRATIONS:
        w.append(organ_wave(reg))
    # 32..47 formants: five vowels at three sizes, and a hum.
    for scale in (0.75, 1.0, 1.4):
        for v in "aeiou":
            w.append(formant_wave(VOWELS[v], scale))
    w.append(formant_wave(VOWELS["m"], 1.0, width=1.8))
    # 48..63 pulses and steps.
    for duty in (1 / 2, 1 / 3, 1 / 4, 1 / 6, 1 / 8, 1 / 12, 1 / 16, 1 / 24, 1 / 32):
        w.append(pulse_series(duty))
    narrow = pulse_series(1 / 8)
    w.append([narrow[i] + narrow[(i + 38) % WAVE_SAMPLES] for i in range(WAVE_SAMPLES)])
    for steps in (4, 8):
        w.append([math.floor(i * steps / WAVE_SAMPLES) / steps for i in range(WAVE_SAMPLES)])
    w.append([a + b for a, b in zip(saw_series(24), pulse_series(1 / 4))])
    w.append([a - b for a, b in zip(pulse_series(1 / 2), pulse_series(1 / 5))])
    w.append([1.0 if i < 8 else (-1.0 if 64 <= i < 72 else 0.0) for i in range(WAVE_SAMPLES)])
    w.append([a * b for a, b in zip(pulse_series(1 / 2, 12), additive([(3, 1.0, 0.0)]))])
    # 64..79 clangorous shapes.
    for ratio, index in ((2, 1.0), (2, 3.0), (3, 2.0), (3, 5.0),
                         (4, 2.0), (5, 3.0), (7, 2.0), (7, 6.0)):
        w.append(fm_wave(ratio, index))
    for ratio in (1.5, 2.25, 3.4, 4.7):
        w.append(sync_wave(ratio))
    for a, b in ((1, 5), (2, 9), (3, 13)):
        w.append(ring_wave(a, b))
    w.append(additive([(1, 1.0, 0.0), (2, 0.6, 0.4), (3, 0.5, 1.1), (5, 0.4, 2.0),
                       (7, 0.3, 0.7), (11, 0.25, 2.6), (13, 0.2, 1.5)]))
    # 80..95 noise-like shapes from a fixed seed.
    rng = random.Random(960001)
    for tilt in (0.0, 0.25, 0.5, 1.0, 1.5, 2.0):
        w.append(random_spectrum(rng, tilt))
    for hold in (2, 4, 8, 16):
        w.append(stepped_random(rng, hold))
    w.append(random_walk(rng))
    w.append(random_walk(rng))
    w.append(crushed_sine(4, rng, 0.05))
    w.append(crushed_sine(8, rng, 0.15))
    w.append([math.sin(TWO_PI * i / WAVE_SAMPLES) * rng.uniform(-1, 1) for i in range(WAVE_SAMPLES)])
    dust = [0.0] * WAVE_SAMPLES
    for _ in range(9):
        dust[rng.randrange(WAVE_SAMPLES)] = rng.uniform(-1.0, 1.0)
    w.append(dust)
    assert len(w) == FIXED_WAVES
    return [normalise(s) for s in w]


def user_waves(set_no):
    """The 32 user shapes of a factory set: two 16-step morph tables."""
    rng = random.Random(970000 + set_no)
    w = []
    if set_no == 1:
        # Sync sweep, then a morph between two random spectra.
        for i in range(16):
            w.append(sync_wave(1.0 + 4.5 * i / 15.0, soften=(i % 2 == 0)))
        a = [rng.uniform(0.2, 1.0) / k for k in range(1, 33)]
        b = [rng.uniform(0.0, 1.0) / math.sqrt(k) for k in range(1, 33)]
        for i in range(16):
            t = i / 15.0
            w.append(additive([(k + 1, a[k] * (1 - t) + b[k] * t, 0.0) for k in range(32)]))
    elif set_no == 2:
        # Vowel morph a-e-i-o-u, then an FM index sweep.
        order = "aeiou"
        for i in range(16):
            pos = i * 4 / 15.0
            j = min(3, int(pos))
            fa = lerp_formants(VOWELS[order[j]], VOWELS[order[j + 1]], pos - j)
            w.append(formant_wave(fa, rng.uniform(0.9, 1.2)))
        ratio = rng.choice((2, 3))
        for i in range(16):
            w.append(fm_wave(ratio, 0.3 + 7.7 * i / 15.0))
    else:
        # Pulse-width sweep, then a morph between two drawbar-style mixtures.
        for i in range(16):
            w.append(pulse_series(0.5 - 0.47 * i / 15.0))
        ra = [rng.randint(0, 8) for _ in ORGAN_HARMONICS]
        rb = [rng.randint(0, 8) for _ in ORGAN_HARMONICS]
        ra[0] = rb[0] = 8
        for i in range(16):
            t = i / 15.0
            parts = []
            for da, db, k in zip(ra, rb, ORGAN_HARMONICS):
                d = da * (1 - t) + db * t
                if d > 0.01:
                    parts.append((k, 10.0 ** (-(8 - d) * 3.0 / 20.0) * min(1.0, d), 0.0))
            w.append(additive(parts))
    assert len(w) == USER_WAVES
    return [normalise(s) for s in w]


def wave_bytes(waves):
    return b"".join(struct.pack("<128h", *s) for s in waves)


# ---------------------------------------------------------------------------
# Program builder
# ---------------------------------------------------------------------------

class Patch:
    """One program's 192 parameter bytes, started from the initial program."""

    def __init__(self):
        self.v = list(INIT_PROGRAM)
        self.nouns = None        # an archetype may narrow the name nouns

    def set(self, n, value):
        lo, hi = param_range(n)
        self.v[n] = max(lo, min(hi, int(round(value))))

    def osc(self, n, freq, fine_tune=50, shape=SAW, level=100, glide=None):
        base = 4 * (n - 1)
        self.set(base, freq)
        self.set(base + 1, fine_tune)
        self.set(base + 2, shape)
        self.set(base + 3, level)
        if glide is not None:
            self.set(OSC_GLIDE[n - 1], glide)

    def lpf(self, freq, env=0, a=0, d=40, s=40, r=20, res=0, key=0, poles=1, vel=0):
        for n, v in ((LPF_FREQ, freq), (LPF_ENV, off99(env)), (LPF_A, a), (LPF_D, d),
                     (LPF_S, s), (LPF_R, r), (LPF_RES, res), (LPF_KEY, key),
                     (POLE4, poles), (LPF_VEL, vel)):
            self.set(n, v)

    def amp(self, a=0, d=40, s=100, r=20, amount=100, level=0, vel=40):
        for n, v in ((AMP_A, a), (AMP_D, d), (AMP_S, s), (AMP_R, r),
                     (AMP_AMT, amount), (AMP_LEVEL, level), (AMP_VEL, vel)):
            self.set(n, v)

    def lfo(self, n, freq, shape, amount, dest, key_sync=False):
        base = LFO_BASE[n - 1]
        self.set(base, freq)
        self.set(base + 1, shape)
        self.set(base + 2, amount + (100 if key_sync and amount > 0 else 0))
        self.set(base + 3, dest)

    def env3(self, amount, dest, a=0, d=40, s=0, r=20, delay=0, vel=0):
        for n, v in ((ENV3_AMT, off99(amount)), (ENV3_DST, dest), (ENV3_A, a),
                     (ENV3_D, d), (ENV3_S, s), (ENV3_R, r), (ENV3_DELAY, delay),
                     (ENV3_VEL, vel)):
            self.set(n, v)

    def mod(self, slot, source, amount, dest):
        base = MOD_SLOTS[slot - 1]
        self.set(base, source)
        self.set(base + 1, off99(amount))
        self.set(base + 2, dest)

    def delay(self, time1=0, amt1=0, fb1=0, fb2=0, time2=0, amt2=0, time3=0, amt3=0):
        for n, v in ((DLY1_TIME, time1), (DLY1_AMT, amt1), (DLY_FB1, fb1), (DLY_FB2, fb2),
                     (DLY2_TIME, time2), (DLY2_AMT, amt2), (DLY3_TIME, time3),
                     (DLY3_AMT, amt3)):
            self.set(n, v)

    def seq(self, lane, steps, dest):
        """Program sequence lane 1..4 with 16 step values and a destination."""
        assert len(steps) == 16
        self.set(SEQ_DST[lane - 1], dest)
        for i, v in enumerate(steps):
            self.set(SEQ_STEP_BASE + 16 * (lane - 1) + i, v)

    def clock(self, tempo, divide):
        self.set(TEMPO, tempo)
        self.set(CLOCK_DIV, divide)

    def controllers(self, mw=None, pressure=None, velocity=None, breath=None):
        """Each argument is (amount, destination) or None to keep it."""
        for pair, (na, nd) in ((mw, (MW_AMT, MW_DST)), (pressure, (PRESS_AMT, PRESS_DST)),
                               (velocity, (VEL_AMT, VEL_DST)), (breath, (BREATH_AMT, BREATH_DST))):
            if pair is not None:
                self.set(na, off99(pair[0]))
                self.set(nd, pair[1])

    def chorus(self, r, depth=None):
        """Short modulated delay for width."""
        self.set(DLY1_TIME, r.randint(3, 12))
        self.set(DLY1_AMT, r.randint(25, 45))
        self.lfo(3, r.randint(12, 30), L_TRI, depth if depth is not None else r.randint(4, 10),
                 D_DLY_TIME1)

    def bytes(self):
        return bytes(self.v)


def jit(r, value, spread):
    return value + r.randint(-spread, spread)


# ---------------------------------------------------------------------------
# Sequencer patterns
# ---------------------------------------------------------------------------
#
# Pitch steps count quarter tones: two step units make one semitone, so an
# octave is 24.

SCALES = {
    "minor": (0, 2, 3, 5, 7, 8, 10),
    "dorian": (0, 2, 3, 5, 7, 9, 10),
    "phrygian": (0, 1, 3, 5, 7, 8, 10),
    "penta": (0, 3, 5, 7, 10),
    "major": (0, 2, 4, 5, 7, 9, 11),
    "mixolydian": (0, 2, 4, 5, 7, 9, 10),
}

CHORDS = {
    "minor": (0, 3, 7), "major": (0, 4, 7), "sus": (0, 5, 7),
    "minor7": (0, 3, 7, 10), "major7": (0, 4, 7, 11), "add9": (0, 4, 7, 14),
}


def loop_length(r):
    return r.choice((16, 16, 16, 16, 12, 8, 14))


def with_reset(steps, length):
    """Cut a lane to the loop length with a reset step after it."""
    if length >= 16:
        return list(steps)
    return list(steps[:length]) + [STEP_RESET] + [0] * (15 - length)


def melody_steps(r, scale_name, length, rests=0.0):
    """A bass-line style pattern: a four-step motif, answered and varied.

    Steps are quarter tones (two per semitone); the root is step value 0 and
    the line stays within two octaves and a fifth.
    """
    scale = SCALES[scale_name]
    degrees = [o * 12 + s for o in range(3) for s in scale]       # three octaves
    top = degrees.index(12) if 12 in degrees else len(scale)
    motif = [0] + [r.randrange(0, top + 3) for _ in range(3)]
    answer_shift = r.choice((0, 2, 3, 4, len(scale) - 1))
    bars = [motif,
            [m + answer_shift for m in motif],
            motif,
            [r.choice((0, top, top + 2, m)) for m in motif]]
    steps = []
    for bar in bars:
        for idx in bar:
            steps.append(2 * degrees[min(len(degrees) - 1, idx)])
    for i in range(1, 16):
        if rests and i % 4 and r.random() < rests:
            steps[i] = STEP_OFF
    return with_reset([min(100, v) if v != STEP_OFF else v for v in steps], length)


def arp_steps(r, chord_name, length, pattern):
    tones = list(CHORDS[chord_name])
    ladder = tones + [t + 12 for t in tones] + [24]
    if pattern == "up":
        seq = ladder
    elif pattern == "down":
        seq = ladder[::-1]
    elif pattern == "updown":
        seq = ladder + ladder[-2:0:-1]
    else:
        seq = [r.choice(ladder) for _ in range(16)]
    steps = [2 * seq[i % len(seq)] for i in range(16)]
    return with_reset(steps, length)


def accent_steps(r, length, low, high, density=0.5):
    steps = [high if (i % 4 == 0 or r.random() < density) else low for i in range(16)]
    return with_reset(steps, length)


def smooth_steps(r, length, low, high):
    steps, v = [], r.randint(low, high)
    for _ in range(16):
        v = max(low, min(high, v + r.randint(-18, 18)))
        steps.append(v)
    return with_reset(steps, length)


def ramp_steps(length, low, high, falling=False):
    n = max(1, min(16, length))
    steps = [low + (high - low) * i // max(1, n - 1) for i in range(n)]
    if falling:
        steps.reverse()
    steps += [0] * (16 - n)
    return with_reset(steps, length)


# ---------------------------------------------------------------------------
# Sound archetypes, one per category
# ---------------------------------------------------------------------------
#
# Every archetype receives a Patch started from the initial program, a
# pseudo-random generator for variation and the build context.  It sets the
# parameters that make the sound; shared finishing happens in finish_patch.

class Context:
    def __init__(self, set_no, bank, slot):
        self.set_no = set_no
        self.bank = bank
        self.slot = slot

    @property
    def mono_unit(self):
        # Set 1 is voiced for the single-voice desktop unit.
        return self.set_no == 1


def lead_key_mode(r, ctx):
    if ctx.mono_unit:
        return r.choice((KM_LAST_RT, KM_LAST, KM_LOW_RT))
    return r.choice((KM_MONO_LAST_RT, KM_MONO_LAST_RT, KM_UNI1_LAST_RT))


def vibrato_on_wheel(p, r):
    """LFO 1 as vibrato on all oscillators, opened by the mod wheel."""
    p.lfo(1, r.randint(68, 82), L_TRI, 0, D_OSC_ALL)
    p.controllers(mw=(r.randint(6, 14), D_LFO1_AMT))


def a_keys(p, r, ctx):
    kind = r.choice(("tine", "tine", "clav", "soft", "reed"))
    if kind == "tine":
        p.osc(1, BASE, fine(-1), TRI, 100)
        p.osc(2, BASE + 12, fine(1), pulse(r.randint(10, 30)), r.randint(20, 40))
        p.osc(3, BASE, 50, W_SINE, r.randint(50, 80))
        p.osc(4, BASE + r.choice((24, 19, 31)), 50, W_SINE, r.randint(4, 12))
        p.set(FM_4_3, r.randint(12, 30))
        p.lpf(r.randint(80, 105), env=r.randint(15, 30), d=r.randint(45, 65), s=r.randint(10, 30),
              r=r.randint(30, 45), key=r.randint(30, 60), vel=r.randint(30, 60))
        p.amp(d=r.randint(62, 76), s=r.randint(0, 25), r=r.randint(35, 48), vel=r.randint(45, 70))
        p.lfo(2, r.randint(45, 70), L_TRI, r.randint(10, 25), D_PAN)
        p.nouns = ["Tines", "Keys", "EP", "Piano", "Bars"]
    elif kind == "clav":
        p.osc(1, BASE, fine(-1), pulse(r.randint(8, 20)), 100)
        p.osc(2, BASE + 12, fine(1), pulse(r.randint(20, 35)), r.randint(30, 60))
        p.lpf(r.randint(60, 85), env=r.randint(30, 50), d=r.randint(30, 45), s=r.randint(5, 20),
              r=r.randint(15, 25), res=r.randint(15, 40), key=r.randint(50, 80), poles=0,
              vel=r.randint(40, 70))
        p.amp(d=r.randint(50, 62), s=r.randint(10, 30), r=r.randint(12, 22), vel=r.randint(50, 80))
        p.set(HPF, r.randint(5, 20))
        p.nouns = ["Clavi", "Keys", "Pluck", "Stab"]
    elif kind == "soft":
        p.osc(1, BASE, fine(-2), TRI, 100)
        p.osc(2, BASE, fine(2), MIX, r.randint(40, 70))
        p.lpf(r.randint(55, 80), env=r.randint(20, 35), d=r.randint(50, 70), s=r.randint(20, 40),
              r=r.randint(35, 50), key=r.randint(30, 50), vel=r.randint(30, 60))
        p.amp(d=r.randint(65, 80), s=r.randint(10, 35), r=r.randint(40, 55), vel=r.randint(40, 65))
        p.chorus(r)
        p.nouns = ["Piano", "Keys", "Touch", "Felt"]
    else:
        p.osc(1, BASE, fine(-1), pulse(r.randint(30, 45)), 100)
        p.osc(2, BASE + 12, fine(1), SAW, r.randint(20, 40))
        p.lpf(r.randint(65, 90), env=r.randint(20, 40), d=r.randint(40, 55), s=r.randint(25, 45),
              r=r.randint(25, 35), res=r.randint(5, 20), key=r.randint(40, 60), vel=r.randint(40, 60))
        p.amp(d=r.randint(60, 72), s=r.randint(30, 50), r=r.randint(25, 35), vel=r.randint(45, 70))
        p.set(DIST, r.randint(4, 12))
        p.lfo(2, r.randint(55, 75), L_TRI, r.randint(8, 18), D_VCA)
        p.nouns = ["Reeds", "Keys", "EP", "Hammers"]
    p.set(KEY_MODE, KM_LAST_RT)


def a_organs(p, r, ctx):
    p.osc(1, BASE, fine(-1), TRI, r.randint(0, 30))
    p.osc(2, BASE + 12, fine(1), TRI, r.randint(0, 20))
    p.osc(3, BASE, fine(r.randint(-2, 0)), r.choice(W_ORGAN), 100)
    p.osc(4, BASE + r.choice((12, 0, 19)), fine(r.randint(0, 3)), r.choice(W_ORGAN), r.randint(40, 80))
    p.lpf(r.randint(110, 150), env=0, s=100, key=r.randint(40, 80), poles=0)
    p.amp(a=0, d=0, s=100, r=r.randint(4, 12), vel=r.randint(0, 15))
    # Key click: a short burst on the filter.
    p.env3(r.randint(15, 35), D_FILTER, d=r.randint(8, 16))
    # Rotary speaker: a pan and level wobble, faster on the mod wheel.
    speed = r.randint(55, 95)
    p.lfo(2, speed, L_TRI, r.randint(15, 35), D_PAN)
    p.lfo(3, speed + r.randint(-4, 4), L_TRI, r.randint(5, 15), D_VCA)
    p.controllers(mw=(r.randint(20, 40), D_LFO_ALL_FREQ))
    if r.random() < 0.35:
        p.set(DIST, r.randint(8, 30))
        p.nouns = ["Drive", "Organ", "Combo", "Growl"]
    p.set(KEY_MODE, KM_LAST_RT)


def a_strings(p, r, ctx):
    p.osc(1, BASE, fine(-r.randint(3, 8)), SAW, 100)
    p.osc(2, BASE + r.choice((0, 0, 12)), fine(r.randint(3, 8)), SAW, r.randint(80, 100))
    p.osc(3, BASE + 12, fine(r.randint(-4, 4)), r.choice(W_SAW[4:]), r.randint(0, 40))
    p.lpf(r.randint(65, 95), env=r.randint(8, 22), a=r.randint(30, 60), d=r.randint(60, 80),
          s=r.randint(60, 85), r=r.randint(55, 72), res=r.randint(0, 12), key=r.randint(30, 55),
          poles=r.choice((0, 1)))
    p.amp(a=r.randint(30, 62), d=r.randint(60, 75), s=r.randint(85, 100), r=r.randint(58, 76),
          vel=r.randint(15, 35))
    # Delayed vibrato: envelope 3 opens LFO 1 after the attack.
    p.lfo(1, r.randint(64, 76), L_TRI, 0, D_OSC_ALL)
    p.env3(r.randint(3, 6), D_LFO1_AMT, a=r.randint(60, 80), d=90, s=100, r=60)
    p.chorus(r)
    p.set(LPF_SPLIT, r.randint(5, 20))
    p.set(SLOP, r.randint(1, 3))


def a_soft_lead(p, r, ctx):
    p.osc(1, BASE + 12, fine(0), r.choice((TRI, TRI, MIX)), 100, glide=r.randint(8, 28))
    p.osc(2, BASE + r.choice((0, 12, 24)), fine(r.randint(1, 5)), r.choice((TRI, SAW, pulse(50))),
          r.randint(20, 50), glide=r.randint(8, 28))
    p.set(NOISE, r.randint(0, 12))
    p.lpf(r.randint(55, 85), env=r.randint(10, 25), a=r.randint(0, 20), d=r.randint(45, 65),
          s=r.randint(40, 70), r=r.randint(30, 45), key=r.randint(40, 70), poles=1)
    p.amp(a=r.randint(2, 15), d=r.randint(50, 65), s=r.randint(75, 95), r=r.randint(30, 45),
          vel=r.randint(20, 40))
    vibrato_on_wheel(p, r)
    p.delay(time1=r.randint(60, 110), amt1=r.randint(15, 35), fb1=r.randint(20, 40))
    p.set(KEY_MODE, lead_key_mode(r, ctx))


def a_bright_lead(p, r, ctx):
    p.osc(1, BASE + 12, fine(-r.randint(1, 4)), SAW, 100, glide=r.randint(0, 15))
    p.osc(2, BASE + r.choice((12, 19, 24, 12)), fine(r.randint(1, 5)),
          r.choice((SAW, pulse(r.randint(20, 50)))), r.randint(60, 100), glide=r.randint(0, 15))
    p.lpf(r.randint(100, 140), env=r.randint(15, 35), d=r.randint(40, 60), s=r.randint(50, 80),
          r=r.randint(25, 40), res=r.randint(8, 28), key=r.randint(40, 70))
    p.amp(a=0, d=r.randint(50, 65), s=r.randint(85, 100), r=r.randint(25, 38), vel=r.randint(15, 35))
    p.set(DIST, r.randint(0, 25))
    vibrato_on_wheel(p, r)
    p.delay(time1=r.choice((DLY_SYNC_4, DLY_SYNC_2, r.randint(70, 120))), amt1=r.randint(15, 35),
            fb1=r.randint(25, 45))
    p.set(KEY_MODE, lead_key_mode(r, ctx))


def a_res_lead(p, r, ctx):
    p.osc(1, BASE + 12, fine(0), r.choice((SAW, pulse(r.randint(15, 40)))), 100,
          glide=r.randint(5, 25))
    p.osc(2, BASE + 12, fine(r.randint(2, 6)), SAW, r.randint(40, 80), glide=r.randint(5, 25))
    p.lpf(r.randint(45, 80), env=r.randint(35, 60), a=r.randint(0, 10), d=r.randint(40, 62),
          s=r.randint(25, 50), r=r.randint(25, 40), res=r.randint(60, 88), key=r.randint(50, 80))
    p.amp(a=0, d=r.randint(50, 65), s=r.randint(80, 95), r=r.randint(25, 40), vel=r.randint(20, 40))
    p.controllers(pressure=(r.randint(25, 45), D_FILTER), mw=(r.randint(6, 12), D_LFO1_AMT))
    p.lfo(1, r.randint(68, 80), L_TRI, 0, D_OSC_ALL)
    if r.random() < 0.5:
        p.lfo(2, r.randint(30, 60), L_TRI, r.randint(8, 20), D_FILTER)
    p.delay(time1=r.randint(70, 130), amt1=r.randint(15, 30), fb1=r.randint(20, 40))
    p.set(KEY_MODE, lead_key_mode(r, ctx))


def a_sync(p, r, ctx):
    p.set(SYNC, 1)
    p.osc(1, BASE, fine(0), SAW, r.randint(0, 40))
    p.osc(2, BASE + r.choice((7, 12, 19, 24)), fine(0), r.choice((SAW, SAW, pulse(30))), 100)
    # Envelope 3 sweeps the synced oscillator for the tearing attack.
    p.env3(r.randint(25, 60), D_OSC2, a=r.randint(0, 10), d=r.randint(45, 72),
           s=r.randint(0, 30), r=r.randint(30, 50), vel=r.randint(0, 40))
    p.lpf(r.randint(95, 135), env=r.randint(5, 25), d=r.randint(45, 60), s=r.randint(60, 85),
          r=r.randint(25, 40), res=r.randint(0, 20), key=r.randint(40, 70))
    p.amp(a=0, d=r.randint(50, 65), s=r.randint(85, 100), r=r.randint(25, 40), vel=r.randint(20, 40))
    if r.random() < 0.5:
        p.lfo(2, r.randint(20, 55), L_TRI, r.randint(10, 30), D_OSC2)
    p.controllers(mw=(r.randint(15, 35), D_OSC2))
    p.set(DIST, r.randint(0, 20))
    p.delay(time1=r.randint(70, 120), amt1=r.randint(10, 30), fb1=r.randint(15, 35))
    p.set(KEY_MODE, lead_key_mode(r, ctx))


def bass_key_mode(r, ctx):
    if ctx.mono_unit:
        return r.choice((KM_LOW_RT, KM_LAST_RT, KM_LAST))
    return KM_MONO_LAST_RT


def a_soft_bass(p, r, ctx):
    low = BASE - r.choice((12, 12, 24))
    p.osc(1, low, fine(0), r.choice((TRI, TRI, SAW, MIX)), 100)
    p.osc(2, low + r.choice((0, 12)), fine(r.randint(1, 3)), r.choice((TRI, pulse(40), SAW)),
          r.randint(30, 60))
    p.lpf(r.randint(38, 65), env=r.randint(15, 35), d=r.randint(35, 55), s=r.randint(10, 35),
          r=r.randint(15, 28), res=r.randint(0, 18), key=r.randint(20, 50), vel=r.randint(10, 30))
    p.amp(a=0, d=r.randint(55, 72), s=r.randint(70, 95), r=r.randint(14, 26), vel=r.randint(20, 45))
    p.set(OSC_GLIDE[0], r.choice((0, 0, 10)))
    p.set(KEY_MODE, bass_key_mode(r, ctx))


def a_bright_bass(p, r, ctx):
    low = BASE - r.choice((12, 12, 24))
    p.osc(1, low, fine(-r.randint(1, 4)), SAW, 100)
    p.osc(2, low + r.choice((0, 0, 12, 7)), fine(r.randint(1, 4)),
          r.choice((SAW, pulse(r.randint(15, 45)))), r.randint(70, 100))
    p.lpf(r.randint(55, 90), env=r.randint(35, 58), d=r.randint(32, 52), s=r.randint(15, 40),
          r=r.randint(14, 26), res=r.randint(10, 32), key=r.randint(30, 60), vel=r.randint(20, 50))
    p.amp(a=0, d=r.randint(55, 70), s=r.randint(65, 95), r=r.randint(14, 24), vel=r.randint(25, 50))
    p.set(DIST, r.randint(0, 25))
    if r.random() < 0.4:
        p.set(FB_FREQ, r.randint(10, 30))
        p.set(FB_LEVEL, r.randint(15, 40))
        p.set(FB_GRUNGE, r.choice((0, 1)))
    p.set(KEY_MODE, bass_key_mode(r, ctx))


def a_res_bass(p, r, ctx):
    low = BASE - r.choice((12, 24))
    p.osc(1, low, fine(0), r.choice((SAW, pulse(r.randint(20, 50)))), 100, glide=r.randint(0, 20))
    p.osc(2, low, fine(r.randint(2, 6)), SAW, r.randint(0, 60), glide=r.randint(0, 20))
    p.lpf(r.randint(22, 50), env=r.randint(45, 72), d=r.randint(30, 50), s=r.randint(0, 20),
          r=r.randint(14, 24), res=r.randint(65, 92), key=r.randint(30, 60), vel=r.randint(20, 50))
    p.amp(a=0, d=r.randint(50, 66), s=r.randint(60, 90), r=r.randint(12, 22), vel=r.randint(25, 50))
    p.set(DIST, r.randint(0, 30))
    p.controllers(mw=(r.randint(20, 40), D_FILTER))
    p.set(KEY_MODE, bass_key_mode(r, ctx))


def a_sub_bass(p, r, ctx):
    low = BASE - r.choice((12, 24, 24))
    p.osc(1, low, fine(0), TRI, r.randint(60, 100))
    p.osc(2, low, fine(0), SAW, r.randint(0, 20))
    p.osc(3, low, 50, W_SINE, 100)
    p.lpf(r.randint(28, 50), env=r.randint(5, 18), d=r.randint(40, 55), s=r.randint(30, 60),
          r=r.randint(14, 24), key=r.randint(20, 40))
    p.amp(a=0, d=r.randint(55, 70), s=r.randint(85, 100), r=r.randint(12, 22), vel=r.randint(10, 30))
    p.set(KEY_MODE, bass_key_mode(r, ctx))


def a_brass(p, r, ctx):
    p.osc(1, BASE, fine(-r.randint(2, 6)), SAW, 100)
    p.osc(2, BASE + r.choice((0, 0, 12, 7)), fine(r.randint(2, 6)), SAW, r.randint(75, 100))
    p.lpf(r.randint(38, 62), env=r.randint(35, 55), a=r.randint(12, 35), d=r.randint(50, 65),
          s=r.randint(50, 75), r=r.randint(28, 42), res=r.randint(0, 15), key=r.randint(40, 70),
          vel=r.randint(30, 60))
    p.amp(a=r.randint(4, 16), d=r.randint(55, 70), s=r.randint(85, 100), r=r.randint(28, 42),
          vel=r.randint(25, 45))
    # A small pitch rise at the attack, as a player's lip.
    p.env3(-r.randint(2, 5), D_OSC_ALL, d=r.randint(20, 32))
    vibrato_on_wheel(p, r)
    p.set(SLOP, r.randint(1, 3))
    if ctx.set_no != 1:
        p.chorus(r)


def a_instruments(p, r, ctx):
    kind = r.choice(("flute", "pluck", "mallet", "reed", "harp"))
    if kind == "flute":
        p.osc(1, BASE + 12, fine(0), TRI, 100, glide=r.randint(0, 10))
        p.osc(3, BASE + 12, 50, r.choice((W_SINE, W_SAW[0])), r.randint(40, 70))
        p.set(NOISE, r.randint(10, 25))
        p.lpf(r.randint(70, 95), env=r.randint(5, 18), a=r.randint(5, 20), d=55, s=70, r=30,
              key=r.randint(50, 80))
        p.amp(a=r.randint(12, 25), d=60, s=r.randint(85, 100), r=r.randint(28, 38), vel=25)
        p.lfo(1, r.randint(70, 80), L_TRI, r.randint(1, 3), D_OSC_ALL)
        p.controllers(breath=(40, D_FILTER))
        p.nouns = ["Flute", "Pipe", "Recorder", "Whistle"]
    elif kind == "pluck":
        p.osc(1, BASE, fine(-1), pulse(r.randint(20, 40)), 100)
        p.osc(2, BASE + 12, fine(1), SAW, r.randint(30, 60))
        # Feedback tuned to the note gives a string-like ring.
        p.set(FB_FREQ, r.choice((12, 24, 36)))
        p.set(FB_LEVEL, r.randint(30, 60))
        p.lpf(r.randint(60, 85), env=r.randint(30, 50), d=r.randint(35, 50), s=0, r=30,
              key=r.randint(60, 90), vel=r.randint(30, 60))
        p.amp(d=r.randint(55, 70), s=0, r=r.randint(35, 50), vel=r.randint(40, 70))
        p.nouns = ["Pluck", "Guitar", "Koto", "Zither", "Dulcimer"]
    elif kind == "mallet":
        p.osc(1, BASE, fine(0), TRI, r.randint(30, 60))
        p.osc(3, BASE + 12, 50, W_SINE, 100)
        p.osc(4, BASE + r.choice((36, 31, 40)), 50, W_SINE, r.randint(6, 30))
        p.set(FM_4_3, r.randint(5, 20))
        p.lpf(r.randint(90, 120), env=r.randint(10, 25), d=35, s=0, r=35, key=70)
        p.amp(d=r.randint(48, 62), s=0, r=r.randint(40, 52), vel=r.randint(50, 80))
        p.nouns = ["Marimba", "Mallet", "Kalimba", "Vibes", "Xylo"]
    elif kind == "reed":
        p.osc(1, BASE, fine(0), pulse(r.randint(10, 25)), 100)
        p.osc(2, BASE, fine(2), pulse(r.randint(60, 80)), r.randint(30, 60))
        p.lpf(r.randint(55, 80), env=r.randint(15, 30), a=10, d=55, s=60, r=28, res=r.randint(10, 30),
              key=60)
        p.amp(a=r.randint(6, 14), d=60, s=95, r=28, vel=30)
        p.lfo(1, 74, L_TRI, r.randint(1, 3), D_OSC_ALL)
        p.controllers(breath=(45, D_FILTER), pressure=(30, D_FILTER))
        p.nouns = ["Clarinet", "Reed", "Oboe", "Musette"]
    else:
        p.osc(1, BASE, fine(0), TRI, 100)
        p.osc(2, BASE + 12, fine(0), pulse(50), r.randint(20, 40))
        p.lpf(r.randint(70, 100), env=r.randint(20, 40), d=r.randint(40, 55), s=0, r=50, key=70,
              vel=40)
        p.amp(d=r.randint(68, 82), s=0, r=r.randint(55, 70), vel=r.randint(40, 70))
        p.delay(time1=r.randint(60, 100), amt1=r.randint(20, 35), fb1=r.randint(20, 40))
        p.nouns = ["Harp", "Lyre", "Psaltery", "Strings"]
    p.set(KEY_MODE, KM_LAST_RT)


def a_evolution(p, r, ctx):
    p.osc(1, BASE, fine(-r.randint(2, 6)), r.choice((SAW, MIX, pulse(30))), r.randint(40, 80))
    p.osc(2, BASE + r.choice((7, 12, 0)), fine(r.randint(2, 6)), r.choice((SAW, TRI)), r.randint(30, 70))
    # Shape steps reach wave numbers 0..100, so the walk uses fixed shapes;
    # oscillator 4 may hold one of the set's user shapes.
    waves = r.choice((W_FORMANT, W_CLANG, W_ORGAN, W_NOISY, W_SAW + W_SQUARE))
    p.osc(3, BASE + r.choice((0, 12)), 50, waves[0], r.randint(60, 100))
    p.osc(4, BASE + r.choice((12, 19, 24)), fine(r.randint(-3, 3)), r.choice(waves + W_USER),
          r.randint(30, 70))
    # Sequence 1 walks slowly through wave shapes on oscillator 3.
    p.set(SHAPE_SEQ_3, 1)
    p.seq(1, [r.choice(waves) for _ in range(16)], D_NONE)
    p.clock(r.randint(50, 90), r.choice((CD_HALF, CD_QUARTER)))
    p.lpf(r.randint(50, 90), env=r.randint(10, 30), a=r.randint(50, 80), d=r.randint(70, 90),
          s=r.randint(40, 70), r=r.randint(65, 85), res=r.randint(10, 40), key=r.randint(20, 50))
    p.amp(a=r.randint(40, 80), d=r.randint(70, 90), s=r.randint(80, 100), r=r.randint(70, 90),
          vel=r.randint(10, 30))
    p.lfo(2, r.randint(4, 18), L_TRI, r.randint(15, 35), D_FILTER)
    p.lfo(3, r.randint(2, 12), L_TRI, r.randint(10, 40), r.choice((D_FM43, D_PAN, D_RM43, D_LVL4)))
    p.lfo(4, r.randint(1, 8), r.choice((L_TRI, L_RANDOM)), r.randint(5, 20), D_LVL3)
    p.delay(time1=r.randint(90, 150), amt1=r.randint(20, 40), fb1=r.randint(30, 55),
            fb2=r.randint(0, 20), time2=r.randint(40, 90), amt2=r.randint(10, 25))
    p.set(LPF_SPLIT, r.randint(10, 30))


def a_motion(p, r, ctx):
    p.osc(1, BASE, fine(-r.randint(2, 5)), SAW, 100)
    p.osc(2, BASE + r.choice((0, 12, 7)), fine(r.randint(2, 5)), r.choice((SAW, pulse(35))), r.randint(60, 90))
    p.lpf(r.randint(40, 75), env=r.randint(10, 25), a=r.randint(10, 40), d=70, s=70,
          r=r.randint(45, 65), res=r.randint(20, 50), key=r.randint(30, 50))
    p.amp(a=r.randint(10, 40), d=70, s=r.randint(85, 100), r=r.randint(45, 65), vel=r.randint(10, 30))
    p.clock(r.randint(90, 130), r.choice((CD_8TH, CD_16TH, CD_16TH, CD_8TH_TRIP)))
    length = loop_length(r)
    # Sequence 2 moves the filter, sequence 3 the pan or level in time.
    p.seq(2, smooth_steps(r, length, 0, 70), D_FILTER)
    p.seq(3, accent_steps(r, length, r.randint(20, 50), 100, 0.4), r.choice((D_VCA, D_PAN)))
    p.lfo(1, r.choice((LFO_SEQ_4, LFO_SEQ_8, LFO_SEQ_2)), r.choice((L_SQUARE, L_SAW, L_TRI)),
          r.randint(15, 35), r.choice((D_RES, D_FILTER, D_PAN)))
    p.delay(time1=r.choice((DLY_SYNC_4, DLY_SYNC_2, DLY_SYNC_8)), amt1=r.randint(20, 40),
            fb1=r.randint(25, 50))


def a_synth(p, r, ctx):
    p.osc(1, BASE, fine(-r.randint(3, 7)), r.choice((SAW, SAW, pulse(r.randint(20, 50)))), 100)
    p.osc(2, BASE + r.choice((0, 12, -12, 7)), fine(r.randint(3, 7)), r.choice((SAW, pulse(40))),
          r.randint(70, 100))
    if r.random() < 0.5:
        p.osc(3, BASE + 12, fine(-3), r.choice(W_SAW[3:]), r.randint(30, 60))
        p.osc(4, BASE, fine(3), r.choice(W_SAW[3:]), r.randint(30, 60))
    p.lpf(r.randint(60, 100), env=r.randint(15, 40), a=r.randint(0, 15), d=r.randint(45, 65),
          s=r.randint(40, 70), r=r.randint(35, 55), res=r.randint(5, 30), key=r.randint(30, 60),
          vel=r.randint(20, 50))
    p.amp(a=r.randint(0, 15), d=r.randint(55, 70), s=r.randint(80, 100), r=r.randint(35, 55),
          vel=r.randint(20, 45))
    p.set(SLOP, r.randint(1, 4))
    p.chorus(r)
    vibrato_on_wheel(p, r)
    if not ctx.mono_unit and r.random() < 0.3:
        p.set(KEY_MODE, KM_UNI2_LAST_RT)


def a_vox(p, r, ctx):
    p.osc(1, BASE, fine(-2), TRI, r.randint(20, 50))
    p.osc(2, BASE + 12, fine(2), SAW, r.randint(0, 25))
    vowels = list(W_FORMANT)
    p.osc(3, BASE, fine(-r.randint(1, 4)), r.choice(vowels), 100)
    p.osc(4, BASE, fine(r.randint(1, 4)), r.choice(vowels), r.randint(60, 100))
    p.set(NOISE, r.randint(0, 10))
    p.lpf(r.randint(75, 105), env=r.randint(5, 18), a=r.randint(20, 50), d=70, s=80,
          r=r.randint(50, 70), res=r.randint(5, 25), key=r.randint(40, 60))
    p.amp(a=r.randint(25, 55), d=70, s=r.randint(85, 100), r=r.randint(50, 72), vel=r.randint(10, 30))
    p.lfo(1, r.randint(66, 76), L_TRI, r.randint(1, 3), D_OSC_ALL)
    if r.random() < 0.6:
        # Talking voices: sequence 2 steps the vowel of oscillator 4.
        p.set(SHAPE_SEQ_4, 2)
        p.seq(2, [r.choice(vowels) for _ in range(16)], D_NONE)
        p.clock(r.randint(60, 100), r.choice((CD_QUARTER, CD_8TH)))
        p.nouns = ["Chant", "Vowels", "Speech", "Mantra", "Voices"]
    p.chorus(r)


def a_bells(p, r, ctx):
    p.osc(1, BASE, fine(0), TRI, r.randint(0, 30))
    p.osc(3, BASE + 12, 50, r.choice((W_SINE, W_SINE, W_CLANG[0], W_CLANG[15])), 100)
    # A modulator at an uneven interval gives the inharmonic partials.
    p.osc(4, BASE + 12 + r.choice((19, 26, 30, 31, 34, 15)), fine(r.randint(-8, 8)), W_SINE,
          r.randint(5, 20))
    p.set(FM_4_3, r.randint(20, 55))
    p.set(RM_4_3, r.randint(0, 30))
    p.lpf(r.randint(110, 150), env=r.randint(0, 15), d=60, s=40, r=70, key=r.randint(40, 80), poles=0)
    p.amp(d=r.randint(80, 96), s=0, r=r.randint(75, 92), vel=r.randint(40, 70))
    # Envelope 3 lets the brightness of the strike die away.
    p.env3(-r.randint(15, 35), D_FM43, d=r.randint(50, 75))
    p.delay(time1=r.randint(80, 140), amt1=r.randint(20, 40), fb1=r.randint(30, 55),
            time2=r.randint(30, 70), amt2=r.randint(10, 25))
    p.lfo(2, r.randint(20, 40), L_TRI, r.randint(5, 15), D_PAN)


def a_harmonics(p, r, ctx):
    p.osc(1, BASE, fine(0), TRI, r.randint(0, 40))
    series = list(W_SAW + W_SQUARE + W_TRIANGLE + (W_HOLLOW, W_SINE))
    p.osc(3, BASE, 50, r.choice(series), 100)
    p.osc(4, BASE + r.choice((12, 19, 24, 28)), fine(r.randint(-2, 2)), r.choice(series), r.randint(40, 80))
    # Sequence 1 steps through the harmonic series shapes of oscillator 3.
    p.set(SHAPE_SEQ_3, 1)
    start = r.randint(0, 4)
    p.seq(1, [series[(start + i * r.choice((1, 1, 2))) % len(series)] for i in range(16)], D_NONE)
    p.clock(r.randint(60, 110), r.choice((CD_QUARTER, CD_8TH, CD_16TH)))
    p.lpf(r.randint(90, 140), env=r.randint(0, 15), a=20, d=70, s=70, r=60, res=r.randint(0, 30),
          key=r.randint(40, 70), poles=r.choice((0, 1)))
    p.amp(a=r.randint(10, 40), d=75, s=r.randint(80, 100), r=r.randint(55, 75), vel=r.randint(10, 30))
    p.lfo(2, r.randint(5, 25), L_TRI, r.randint(10, 30), D_FM43)
    p.set(FM_4_3, r.randint(0, 25))
    p.delay(time1=r.randint(80, 130), amt1=r.randint(15, 30), fb1=r.randint(20, 45))


def sequence_core(p, r, ctx, *, melodic=True):
    """Short plucky voice for sequences and arpeggios."""
    p.osc(1, BASE + r.choice((0, 0, -12)), fine(-r.randint(1, 4)),
          r.choice((SAW, pulse(r.randint(15, 50)))), 100)
    p.osc(2, BASE + r.choice((0, 12, 7, 0)), fine(r.randint(1, 4)), r.choice((SAW, pulse(30), TRI)),
          r.randint(40, 90))
    p.lpf(r.randint(35, 70), env=r.randint(30, 55), d=r.randint(28, 45), s=r.randint(0, 20),
          r=r.randint(15, 28), res=r.randint(20, 60), key=r.randint(30, 60))
    p.amp(d=r.randint(40, 55), s=r.randint(0, 30), r=r.randint(18, 30), vel=r.randint(10, 30))


def a_sequence(p, r, ctx):
    sequence_core(p, r, ctx)
    length = loop_length(r)
    scale = r.choice(tuple(SCALES))
    p.clock(r.randint(96, 140), r.choice((CD_16TH, CD_16TH, CD_8TH, CD_8TH_TRIP)))
    p.seq(1, melody_steps(r, scale, length, rests=r.choice((0.0, 0.1, 0.2))), D_OSC_ALL)
    p.seq(2, smooth_steps(r, length, 0, 80), D_FILTER)
    p.seq(3, accent_steps(r, length, r.randint(30, 60), 100, 0.35), D_VCA)
    p.seq(4, smooth_steps(r, length, 0, 60), r.choice((D_RES, D_PAN, D_DLY_AMT_ALL, D_FM43)))
    p.delay(time1=r.choice((DLY_SYNC_4, DLY_SYNC_2, DLY_SYNC_8)), amt1=r.randint(20, 40),
            fb1=r.randint(25, 50))
    p.set(ENV3_TRIG, TRIG_SEQ_MIDI)


def a_arpeggiator(p, r, ctx):
    sequence_core(p, r, ctx)
    length = r.choice((16, 16, 8, 12))
    p.clock(r.randint(100, 140), r.choice((CD_16TH, CD_16TH, CD_8TH_TRIP)))
    chord = r.choice(tuple(CHORDS))
    p.seq(1, arp_steps(r, chord, length, r.choice(("up", "down", "updown", "random"))), D_OSC_ALL)
    p.seq(2, ramp_steps(length, 10, 60, falling=r.random() < 0.5), D_FILTER)
    p.seq(3, accent_steps(r, length, 55, 100, 0.25), D_VCA)
    p.delay(time1=r.choice((DLY_SYNC_4, DLY_SYNC_8)), amt1=r.randint(20, 40), fb1=r.randint(20, 45))
    # Each key restarts the arpeggio.
    p.set(ENV3_TRIG, TRIG_MIDI_RESET)


DRUMS = {
    #         noise, pitch drop, amp decay, filter, nouns
    "kick": (0, 60, 38, 40, ["Kick", "Thump", "Boom"]),
    "snare": (70, 25, 36, 95, ["Snare", "Crack", "Snap"]),
    "hat": (100, 0, 22, 150, ["Hat", "Tick", "Sizzle"]),
    "tom": (10, 30, 48, 60, ["Tom", "Drum", "Conga"]),
    "clap": (90, 0, 34, 110, ["Clap", "Slap"]),
    "zap": (0, 80, 30, 100, ["Zap", "Blip", "Pew"]),
    "shaker": (100, 0, 28, 135, ["Shaker", "Maraca"]),
    "metal": (20, 10, 45, 130, ["Cowbell", "Clank", "Anvil"]),
}


def a_percussion(p, r, ctx):
    kind = r.choice(tuple(DRUMS))
    noise, drop, decay, cutoff, nouns = DRUMS[kind]
    tone = 100 - noise
    p.osc(1, BASE - r.choice((0, 12)), fine(0), TRI, tone)
    p.osc(2, BASE + r.choice((0, 7)), fine(0), pulse(50), tone // 3)
    if kind == "metal":
        p.osc(3, BASE + 19, 50, r.choice(W_CLANG), 100)
        p.osc(4, BASE + 27, fine(7), W_SQUARE[2], 60)
        p.set(RM_4_3, r.randint(40, 80))
    p.set(NOISE, noise)
    p.env3(jit(r, drop, 8) if drop else 0, D_OSC_ALL if drop else D_NONE, d=r.randint(18, 34))
    p.lpf(jit(r, cutoff, 10), env=r.randint(10, 35), d=r.randint(20, 35), s=0, r=r.randint(10, 25),
          res=r.randint(0, 40), key=r.randint(0, 40), poles=r.choice((0, 1)))
    p.amp(d=jit(r, decay, 5), s=0, r=jit(r, decay - 6, 4), vel=r.randint(50, 90))
    if kind in ("snare", "hat", "clap", "shaker"):
        p.set(HPF, r.randint(10, 40))
    if kind == "clap":
        p.lfo(2, r.randint(120, 140), L_SAW, 40, D_VCA, key_sync=True)
    p.set(DIST, r.randint(0, 20))
    p.nouns = nouns


def a_noise(p, r, ctx):
    p.osc(1, BASE, fine(0), SAW, r.randint(0, 25))
    p.osc(2, BASE + 7, fine(3), TRI, r.randint(0, 20))
    p.set(NOISE, r.randint(65, 100))
    p.lpf(r.randint(40, 90), env=r.randint(0, 25), a=r.randint(20, 60), d=80, s=70, r=70,
          res=r.randint(45, 95), key=r.choice((0, 50, 100)), poles=r.choice((0, 1)))
    p.amp(a=r.randint(20, 70), d=80, s=r.randint(70, 100), r=r.randint(60, 90), vel=r.randint(10, 30))
    # Slow sweeps and gusts.
    p.lfo(1, r.randint(2, 20), r.choice((L_TRI, L_RANDOM)), r.randint(20, 50), D_FILTER)
    p.lfo(2, r.randint(4, 30), L_TRI, r.randint(10, 30), D_PAN)
    p.lfo(3, r.randint(1, 10), L_RANDOM, r.randint(10, 30), D_RES)
    p.delay(time1=r.randint(80, 150), amt1=r.randint(20, 40), fb1=r.randint(30, 60))
    p.set(LPF_SPLIT, r.randint(10, 40))


def a_sound_fx(p, r, ctx):
    p.osc(1, BASE + r.choice((0, 12, 24)), fine(0), r.choice((SAW, pulse(10), TRI)), 100)
    p.osc(2, BASE + r.randint(-12, 24), fine(r.randint(-20, 20)), r.choice((SAW, pulse(50))), r.randint(30, 90))
    p.osc(3, BASE + r.randint(0, 36), fine(r.randint(-25, 25)), r.choice(W_CLANG + W_NOISY), r.randint(0, 80))
    p.osc(4, BASE + r.randint(0, 48), 50, r.choice(W_CLANG + (W_SINE,)), r.randint(0, 40))
    p.set(FM_4_3, r.randint(0, 60))
    p.set(RM_3_4, r.randint(0, 60))
    p.set(NOISE, r.choice((0, 0, r.randint(10, 60))))
    p.env3(r.choice((-1, 1)) * r.randint(30, 99), r.choice((D_OSC_ALL, D_OSC1, D_FILTER, D_FM43)),
           a=r.randint(0, 40), d=r.randint(50, 90), s=r.randint(0, 40), r=r.randint(40, 80))
    p.lfo(1, r.randint(40, 140), r.choice((L_RANDOM, L_SQUARE, L_SAW)), r.randint(20, 80),
          r.choice((D_OSC_ALL, D_OSC2, D_FILTER, D_FB_AMT)))
    p.lfo(2, r.randint(1, 30), L_TRI, r.randint(20, 60), D_LFO1_FREQ)
    p.set(FB_FREQ, r.randint(0, 48))
    p.set(FB_LEVEL, r.randint(20, 80))
    p.set(FB_GRUNGE, r.choice((0, 1)))
    p.lpf(r.randint(60, 130), env=r.randint(-20, 40), d=70, s=50, r=60, res=r.randint(20, 80),
          key=r.randint(0, 80))
    p.amp(a=r.randint(0, 30), d=r.randint(60, 90), s=r.randint(50, 100), r=r.randint(50, 90),
          vel=r.randint(10, 40))
    p.delay(time1=r.randint(40, 150), amt1=r.randint(20, 50), fb1=r.randint(40, 80),
            fb2=r.randint(0, 40), time2=r.randint(20, 120), amt2=r.randint(10, 30))
    p.set(DIST, r.choice((0, r.randint(10, 40), r.randint(110, 140))))
    p.set(OUT_HACK, r.choice((0, 0, r.randint(2, 10))))


def a_pads(p, r, ctx):
    p.osc(1, BASE, fine(-r.randint(4, 9)), r.choice((SAW, SAW, pulse(r.randint(25, 45)), MIX)), 100)
    p.osc(2, BASE + r.choice((0, 0, 12, 7, -12)), fine(r.randint(4, 9)), r.choice((SAW, TRI, pulse(40))),
          r.randint(70, 100))
    if r.random() < 0.6:
        waves = r.choice((W_FORMANT, W_ORGAN, W_HARMONIC_SOFT, W_USER))
        p.osc(3, BASE + 12, fine(-r.randint(2, 5)), r.choice(waves), r.randint(30, 70))
        p.osc(4, BASE + r.choice((12, 19, 24)), fine(r.randint(2, 5)), r.choice(waves), r.randint(20, 50))
    p.lpf(r.randint(45, 85), env=r.randint(10, 30), a=r.randint(50, 85), d=r.randint(70, 95),
          s=r.randint(50, 80), r=r.randint(65, 88), res=r.randint(5, 35), key=r.randint(20, 50),
          poles=r.choice((0, 1, 1)))
    p.amp(a=r.randint(45, 85), d=r.randint(70, 95), s=r.randint(85, 100), r=r.randint(68, 92),
          vel=r.randint(5, 25))
    # Slow LFO on the filter and a gentle pan drift.
    p.lfo(2, r.randint(6, 28), r.choice((L_TRI, L_TRI, L_RANDOM)), r.randint(10, 30), D_FILTER)
    p.lfo(4, r.randint(3, 15), L_TRI, r.randint(10, 30), D_PAN)
    p.chorus(r)
    p.set(DLY2_TIME, r.randint(80, 150))
    p.set(DLY2_AMT, r.randint(15, 35))
    p.set(DLY_FB2, r.randint(20, 50))
    p.set(LPF_SPLIT, r.randint(8, 30))
    p.set(SLOP, r.randint(1, 4))


# Category archetypes: key -> (category, design function, name prefixes, name nouns)
ARCHETYPES = {
    "keys": (CAT["Keys"], a_keys,
             ["Velvet", "Glass", "Dusty", "Mellow", "Bright", "Felt", "Rubber", "Crystal",
              "Lazy", "Warm", "Plucky", "Silk", "Barroom", "Sunday", "Foggy", "Copper"],
             ["Keys", "Tines", "Piano", "EP", "Hammers", "Touch"]),
    "organs": (CAT["Organs"], a_organs,
               ["Chapel", "Smoky", "Jazz", "Gospel", "Perc", "Drawbar", "Reedy", "Attic",
                "Basement", "Churchy", "Fat", "Thin", "Warm", "Gritty", "Spinning", "Sunday"],
               ["Organ", "Combo", "Drawbars", "Pipes", "Manual", "Swell", "Chorale", "Hymn"]),
    "strings": (CAT["Strings"], a_strings,
                ["Silk", "Sunset", "Velvet", "Slow", "Distant", "Warm", "Glass", "Tape", "Lush",
                 "Amber", "Wide", "Chamber", "Faded", "Paper", "Winter", "Hazy"],
                ["Strings", "Ensemble", "Section", "Bows", "Violas", "Cellos", "Orchestra",
                 "Quartet", "Sweep"]),
    "soft_lead": (CAT["Soft Lead"], a_soft_lead,
                  ["Mellow", "Breathy", "Round", "Hollow", "Soft", "Velvet", "Misty", "Lunar",
                   "Gentle", "Dreamy", "Wooden", "Sine", "Little", "Calm"],
                  ["Lead", "Flute", "Solo", "Voice", "Line", "Melody", "Whistle", "Song",
                   "Ocarina", "Singer"]),
    "bright_lead": (CAT["Bright Lead"], a_bright_lead,
                    ["Razor", "Hot", "Laser", "Scream", "Neon", "Chrome", "Solar", "Blazing",
                     "Sharp", "Acid", "Burning", "Electric", "Wild", "Steel", "Fierce"],
                    ["Lead", "Solo", "Saw", "Blade", "Edge", "Rider", "Wire", "Cutter", "Hero",
                     "Flare"]),
    "res_lead": (CAT["Res Lead"], a_res_lead,
                 ["Squelch", "Resonant", "Liquid", "Wet", "Peaky", "Whirl", "Rubber", "Nasal",
                  "Chirpy", "Honky", "Zappy", "Wah", "Vocal", "Glassy"],
                 ["Lead", "Squeal", "Solo", "Tube", "Quack", "Whine", "Howl", "Line", "Peak",
                  "Reso"]),
    "sync": (CAT["Sync"], a_sync,
             ["Hard", "Tearing", "Ripping", "Screaming", "Sweeping", "Slicing", "Biting",
              "Metal", "Snarling", "Raw", "Synced", "Torn", "Jagged"],
             ["Sync", "Lead", "Sweep", "Rip", "Tear", "Saw", "Edge", "Slice", "Shred", "Blade"]),
    "soft_bass": (CAT["Soft Bass"], a_soft_bass,
                  ["Round", "Deep", "Warm", "Soft", "Woody", "Velvet", "Mellow", "Fat", "Thumb",
                   "Dub", "Smooth", "Cushion", "Dark", "Plush", "Gentle"],
                  ["Bass", "Low End", "Bottom", "Pluck", "Thump", "Finger", "Upright", "Floor"]),
    "bright_bass": (CAT["Bright Bass"], a_bright_bass,
                    ["Punch", "Buzz", "Bright", "Snappy", "Funky", "Growl", "Edgy", "Hard",
                     "Twang", "Slap", "Crunch", "Nasty", "Electro", "Angry", "Gnarly"],
                    ["Bass", "Saw Bass", "Pick", "Bite", "Thud", "Line", "Motor", "Gut"]),
    "res_bass": (CAT["Res Bass"], a_res_bass,
                 ["Acid", "Rubber", "Squelch", "Wobble", "Liquid", "Elastic", "Bubbling", "Chewy",
                  "Sticky", "Gooey", "Bouncy", "Tweaky", "Slimy", "Wet"],
                 ["Bass", "Line", "Squelch", "Bounce", "Bubble", "Goo", "Low Res", "Drop"]),
    "sub_bass": (CAT["Sub Bass"], a_sub_bass,
                 ["Sub", "Deep", "Floor", "Under", "Bottom", "Earth", "Rumble", "Deepest", "Low",
                  "Pure", "Cave"],
                 ["Sub", "Bass", "Pressure", "Floor", "Quake", "Wave", "Tone", "Sine", "Ground"]),
    "brass": (CAT["Brass"], a_brass,
              ["Bold", "Golden", "Fanfare", "Stab", "Bright", "Soft", "Mellow", "Funky", "Big",
               "Royal", "Proud", "Brassy", "Brazen", "Gleaming"],
              ["Brass", "Horns", "Section", "Trumpets", "Fanfare", "Stabs", "Blast", "Swell"]),
    "instruments": (CAT["Instruments"], a_instruments,
                    ["Wooden", "Plucked", "Bamboo", "Nylon", "Steel", "Hollow", "Tiny", "Breathy",
                     "Dry", "Folk", "Reedy", "Gourd", "Old", "Village"],
                    ["Flute", "Pluck", "Harp", "Marimba"]),
    "evolution": (CAT["Evolution"], a_evolution,
                  ["Evolving", "Shifting", "Drifting", "Slow", "Morphing", "Mutating", "Turning",
                   "Growing", "Tidal", "Endless", "Crawling", "Changing", "Unfolding"],
                  ["Waves", "Tides", "Forms", "Spirals", "Seasons", "Cycles", "Sands", "Shapes",
                   "Currents", "Orbit"]),
    "motion": (CAT["Motion"], a_motion,
               ["Pulsing", "Throbbing", "Rhythmic", "Chopped", "Gated", "Ticking", "Rolling",
                "Stutter", "Flicker", "Marching", "Spinning", "Swaying", "Breathing"],
               ["Pad", "Motion", "Pulse", "Engine", "Gate", "Chords", "Wheel", "Grid", "Train",
                "Drive"]),
    "synth": (CAT["Synth"], a_synth,
              ["Poly", "Classic", "Fat", "Wide", "Analog", "Stacked", "Modern", "Vintage",
               "Bold", "Juicy", "Thick", "Shiny", "Plastic", "Retro"],
              ["Synth", "Saws", "Stack", "Chords", "Stab", "Wall", "Poly", "Square", "Sweep"]),
    "vox": (CAT["Vox"], a_vox,
            ["Choir", "Breathy", "Ghost", "Angel", "Hollow", "Whisper", "Robot", "Airy", "Human",
             "Monk", "Temple", "Throat", "Distant"],
            ["Voices", "Choir", "Vox", "Ahh", "Ooh", "Chant", "Vowels", "Hum", "Singers", "Aria"]),
    "bells": (CAT["Bells"], a_bells,
              ["Glass", "Crystal", "Temple", "Tiny", "Silver", "Frozen", "Cold", "Clock", "Chime",
               "Tubular", "Icy", "Distant", "Winter"],
              ["Bells", "Chimes", "Bell", "Gong", "Tines", "Carillon", "Ring", "Toll", "Glock"]),
    "harmonics": (CAT["Harmonics"], a_harmonics,
                  ["Harmonic", "Overtone", "Partial", "Pure", "Spectral", "Glass", "Organic",
                   "Hollow", "Shimmer", "Prism", "Mirror", "Bright"],
                  ["Series", "Partials", "Spectrum", "Tones", "Harmonics", "Ladder", "Prism",
                   "Rows", "Steps"]),
    "sequence": (CAT["Sequence"], a_sequence,
                 ["Night", "Running", "Dark", "Hypno", "Machine", "Circuit", "Neon", "Loop",
                  "Spiral", "Cold", "Tiny", "Turbo", "Motor", "Pulse", "Clockwork"],
                 ["Sequence", "Pattern", "Runner", "Loop", "Line", "Groove", "Cycle", "Machine",
                  "Ostinato", "Motor"]),
    "percussion": (CAT["Percussion"], a_percussion,
                   ["Analog", "Tight", "Fat", "Dry", "Dusty", "Metal", "Short", "Deep", "Trash",
                    "Crispy", "Lo-Fi", "Room", "Punchy", "Garage"],
                   ["Drum"]),
    "noise": (CAT["Noise"], a_noise,
              ["Wind", "Surf", "Static", "Storm", "Rain", "Steam", "Hiss", "Breath", "Sand",
               "Dust", "Air", "Vapor"],
              ["Noise", "Wash", "Gust", "Sweep", "Hiss", "Field", "Cloud", "Drift", "Storm",
               "Static"]),
    "sound_fx": (CAT["Sound FX"], a_sound_fx,
                 ["Alien", "Laser", "Broken", "Robot", "Space", "Radio", "Warp", "Glitch", "Metal",
                  "Creepy", "Siren", "Rogue", "Orbital"],
                 ["Signal", "Zapper", "Transmit", "Probe", "Alarm", "Drone", "Beacon", "Chatter",
                  "Bird", "Machine", "Portal"]),
    "pads": (CAT["Pads"], a_pads,
             ["Warm", "Dream", "Glass", "Soft", "Cloud", "Ocean", "Aurora", "Misty", "Velvet",
              "Sunrise", "Frost", "Nebula", "Halo", "Slow", "Deep", "Golden"],
             ["Pad", "Sky", "Haze", "Bloom", "Dawn", "Field", "Drift", "Veil", "Glow", "Space",
              "Layers"]),
    "arpeggiator": (CAT["Arpeggiator"], a_arpeggiator,
                    ["Bouncing", "Rolling", "Up Down", "Cascade", "Sparkle", "Tumble", "Twinkle",
                     "Ladder", "Spiral", "Rippling", "Jumping", "Falling"],
                    ["Arp", "Chords", "Steps", "Climb", "Rain", "Run", "Broken", "Dance", "Cycle",
                     "Stairs"]),
}


# ---------------------------------------------------------------------------
# Signature programs at fixed slots
# ---------------------------------------------------------------------------

def s_big_ana_orch(p, r, ctx):
    """Brass and strings in one: detuned saws, a slow brassy filter swell."""
    a_brass(p, r, ctx)
    p.osc(3, BASE + 12, fine(-4), W_SAW[7], 60)
    p.osc(4, BASE - 12, fine(3), W_SAW[5], 50)
    p.lpf(58, env=45, a=28, d=62, s=70, r=45, res=8, key=50, vel=40)
    p.amp(a=12, d=65, s=100, r=48, vel=35)
    p.chorus(r, depth=8)
    p.set(DLY2_TIME, 120)
    p.set(DLY2_AMT, 20)
    p.set(SLOP, 3)
    return CAT["Brass"]


def s_key_trash_beat(p, r, ctx):
    """A gritty beat played from one key: kick, snare and hat from one voice."""
    p.osc(1, BASE - 12, fine(0), TRI, 100)
    p.osc(2, BASE, fine(5), pulse(50), 40)
    p.lpf(70, env=30, d=30, s=0, r=18, res=35, key=30, poles=0)
    p.amp(d=38, s=0, r=28, vel=50)
    p.env3(55, D_OSC_ALL, d=24)
    p.clock(jit(r, 112, 6), CD_16TH)
    # Lane 1 the pitch (rests on off), lane 2 the noise for snare and hats,
    # lane 3 the filter, lane 4 the distortion for the trashy hits.
    kick, snare, hat = 0, 24, 60
    pattern = [kick, hat, STEP_OFF, hat, snare, hat, kick, hat,
               kick, STEP_OFF, hat, kick, snare, hat, r.choice((hat, snare)), hat]
    p.seq(1, pattern, D_OSC_ALL)
    noise = [0 if v == kick else (90 if v == snare else 70) for v in pattern]
    p.seq(2, [0 if v == STEP_OFF else n for v, n in zip(pattern, noise)], D_NOISE)
    p.seq(3, [10 if v == kick else (40 if v == snare else 85) for v in pattern], D_FILTER)
    p.seq(4, [r.randint(0, 60) for _ in range(16)], D_DIST)
    p.set(DIST, 20)
    p.set(FB_GRUNGE, 1)
    p.set(FB_LEVEL, 25)
    p.set(FB_FREQ, 18)
    p.set(OUT_HACK, 3)
    p.set(ENV3_TRIG, TRIG_MIDI_RESET)
    return CAT["Percussion"]


def s_real_analog_sync(p, r, ctx):
    a_sync(p, r, ctx)
    p.osc(2, BASE + 19, fine(0), SAW, 100)
    p.env3(48, D_OSC2, a=0, d=64, s=12, r=40, vel=25)
    p.set(SLOP, 3)
    return CAT["Sync"]


def s_basic_wave_seq(p, r, ctx):
    """Wave shapes stepped by the sequencer under a simple bass-line."""
    p.osc(1, BASE, fine(0), SAW, 0)
    p.osc(2, BASE, fine(0), SAW, 0)
    p.osc(3, BASE, fine(-2), W_SAW[7], 100)
    p.osc(4, BASE + 12, fine(2), W_FORMANT[1], 70)
    p.set(SHAPE_SEQ_3, 2)
    p.set(SHAPE_SEQ_4, 3)
    p.clock(120, CD_16TH)
    p.seq(1, [0, 0, 24, 0, 14, 0, 24, 20, 0, 0, 24, 0, 10, 14, 24, 14], D_OSC_ALL)
    p.seq(2, [W_SAW[7], W_SQUARE[2], W_PULSE[3], W_FORMANT[0], W_ORGAN[4], W_CLANG[2],
              W_SAW[3], W_PULSE[6], W_FORMANT[6], W_SQUARE[1], W_CLANG[5], W_ORGAN[7],
              W_SAW[5], W_PULSE[1], W_FORMANT[11], W_CLANG[0]], D_NONE)
    p.seq(3, [W_FORMANT[i % 16] for i in range(0, 48, 3)], D_NONE)
    p.seq(4, [80, 30, 60, 20, 70, 30, 50, 20, 80, 30, 60, 20, 70, 40, 90, 30], D_FILTER)
    p.lpf(55, env=35, d=34, s=10, r=20, res=30, key=40)
    p.amp(d=46, s=20, r=22, vel=25)
    p.delay(time1=DLY_SYNC_4, amt1=30, fb1=35)
    return CAT["Sequence"]


def s_anaorch_press_fb(p, r, ctx):
    """Orchestral brass whose feedback rises with key pressure."""
    s_big_ana_orch(p, r, ctx)
    p.set(FB_FREQ, 24)
    p.set(FB_LEVEL, 10)
    p.controllers(pressure=(55, D_FB_AMT), mw=(10, D_LFO1_AMT))
    return CAT["Brass"]


def s_big_sawz(p, r, ctx):
    """Four detuned saws in unison."""
    p.osc(1, BASE, fine(-7), SAW, 100)
    p.osc(2, BASE, fine(7), SAW, 100)
    p.osc(3, BASE + 12, fine(-4), W_SAW[7], 80)
    p.osc(4, BASE - 12, fine(4), W_SAW[7], 70)
    p.lpf(92, env=22, a=2, d=58, s=65, r=42, res=10, key=45, vel=30)
    p.amp(a=2, d=62, s=95, r=44, vel=25)
    p.set(SLOP, 4)
    p.set(KEY_MODE, KM_UNI2_LAST_RT)
    vibrato_on_wheel(p, r)
    p.chorus(r, depth=6)
    return CAT["Synth"]


def s_nice_pattern(p, r, ctx):
    """A friendly melodic pattern with a filter walk and echoes."""
    sequence_core(p, r, ctx)
    p.clock(118, CD_16TH)
    p.seq(1, [0, 14, 24, 14, 20, 14, 28, 24, 0, 14, 24, 34, 28, 24, 20, 14], D_OSC_ALL)
    p.seq(2, [20, 30, 45, 60, 70, 60, 45, 30, 25, 35, 50, 65, 80, 65, 50, 35], D_FILTER)
    p.seq(3, [100, 60, 80, 60, 100, 60, 80, 70, 100, 60, 80, 60, 100, 70, 90, 70], D_VCA)
    p.seq(4, [0, 10, 20, 30, 40, 50, 40, 30, 20, 10, 0, 10, 20, 30, 20, 10], D_PAN)
    p.delay(time1=DLY_SYNC_4, amt1=35, fb1=40, time2=DLY_SYNC_2, amt2=15)
    return CAT["Sequence"]


SIGNATURES = {
    "Big Ana Orch": s_big_ana_orch,
    "Key Trash Beat": s_key_trash_beat,
    "Real Analog Sync": s_real_analog_sync,
    "Basic Wave Seq": s_basic_wave_seq,
    "AnaOrch Press FB": s_anaorch_press_fb,
    "Big Sawz": s_big_sawz,
    "Nice Pattern": s_nice_pattern,
}


# ---------------------------------------------------------------------------
# Bank plans
# ---------------------------------------------------------------------------
#
# For each set, each program bank lists the programs at fixed slots and the
# number of programs of each archetype that fill the other slots.  A bank
# marked "mixed" is shuffled so that it plays as a showcase; the others keep
# their programs grouped by category.

LAST = SLOTS - 1

SET_TITLES = {
    1: "Evolver Factory Presets",
    2: "PolyEvolver Rack Factory Presets",
    3: "PolyEvolver Keyboards Factory Presets",
}

BANK_PLANS = {
    1: [
        {"theme": "showcase", "mixed": True,
         "fixed": {0: "Big Ana Orch", 1: "Key Trash Beat"},
         "fill": [("bright_lead", 8), ("res_bass", 8), ("sequence", 12), ("pads", 10),
                  ("sync", 6), ("bright_bass", 8), ("soft_lead", 6), ("percussion", 8),
                  ("motion", 8), ("evolution", 8), ("sound_fx", 6), ("brass", 6),
                  ("strings", 6), ("keys", 6), ("vox", 4), ("bells", 6), ("arpeggiator", 6),
                  ("noise", 4)]},
        {"theme": "sequences and motion", "mixed": False,
         "fixed": {0: "Real Analog Sync", 1: "Basic Wave Seq", LAST: BASIC_PROGRAM_NAME},
         "fill": [("sequence", 30), ("arpeggiator", 16), ("motion", 20), ("evolution", 16),
                  ("percussion", 14), ("sync", 8), ("harmonics", 9), ("sound_fx", 12)]},
        {"theme": "basses and leads", "mixed": False, "fixed": {},
         "fill": [("soft_bass", 16), ("bright_bass", 18), ("res_bass", 18), ("sub_bass", 10),
                  ("soft_lead", 16), ("bright_lead", 18), ("res_lead", 16), ("sync", 16)]},
        {"theme": "textures", "mixed": False, "fixed": {},
         "fill": [("pads", 22), ("strings", 12), ("vox", 12), ("bells", 14), ("harmonics", 12),
                  ("noise", 14), ("sound_fx", 16), ("evolution", 14), ("instruments", 12)]},
    ],
    2: [
        {"theme": "showcase", "mixed": True,
         "fixed": {0: "AnaOrch Press FB", 1: "Key Trash Beat"},
         "fill": [("pads", 16), ("strings", 12), ("brass", 10), ("keys", 12), ("synth", 16),
                  ("bells", 8), ("res_bass", 8), ("bright_lead", 10), ("sequence", 10),
                  ("motion", 8), ("vox", 6), ("evolution", 10)]},
        {"theme": "keys, organs and instruments", "mixed": False, "fixed": {},
         "fill": [("keys", 24), ("organs", 20), ("instruments", 22), ("bells", 16),
                  ("harmonics", 14), ("brass", 14), ("strings", 18)]},
        {"theme": "leads and basses", "mixed": False, "fixed": {},
         "fill": [("soft_lead", 14), ("bright_lead", 16), ("res_lead", 14), ("sync", 14),
                  ("soft_bass", 16), ("bright_bass", 18), ("res_bass", 16), ("sub_bass", 10),
                  ("synth", 10)]},
        {"theme": "pads and motion", "mixed": False, "fixed": {},
         "fill": [("pads", 26), ("evolution", 18), ("motion", 18), ("sequence", 18),
                  ("arpeggiator", 14), ("noise", 10), ("sound_fx", 14), ("vox", 10)]},
    ],
    3: [
        {"theme": "showcase", "mixed": True,
         "fixed": {0: "Big Sawz", 1: "Nice Pattern", LAST: BASIC_PROGRAM_NAME},
         "fill": [("synth", 16), ("pads", 14), ("bright_lead", 10), ("soft_lead", 8),
                  ("brass", 10), ("strings", 10), ("keys", 10), ("organs", 6),
                  ("bright_bass", 10), ("res_bass", 8), ("sequence", 9), ("arpeggiator", 6),
                  ("bells", 8)]},
        {"theme": "pads, strings and voices", "mixed": False, "fixed": {LAST: BASIC_PROGRAM_NAME},
         "fill": [("pads", 30), ("strings", 20), ("vox", 16), ("evolution", 20),
                  ("harmonics", 14), ("noise", 12), ("motion", 15)]},
        {"theme": "keys, organs, brass and bells", "mixed": False, "fixed": {LAST: BASIC_PROGRAM_NAME},
         "fill": [("keys", 22), ("organs", 20), ("brass", 20), ("instruments", 22),
                  ("bells", 22), ("synth", 21)]},
        {"theme": "leads, basses, sequences and drums", "mixed": False,
         "fixed": {LAST: BASIC_PROGRAM_NAME},
         "fill": [("bright_lead", 14), ("res_lead", 12), ("soft_lead", 10), ("sync", 10),
                  ("bright_bass", 14), ("res_bass", 12), ("sub_bass", 8), ("sequence", 14),
                  ("percussion", 16), ("sound_fx", 17)]},
    ],
}

# The names every image must carry at the given slots: (set, bank, slot) -> name.
REQUIRED_NAMES = {
    (s, b, slot): name
    for s, banks in BANK_PLANS.items()
    for b, plan in enumerate(banks)
    for slot, name in plan["fixed"].items()
}


def bank_seed(set_no, bank):
    return 0x5A3E0000 + 0x100 * set_no + bank


def slot_seed(set_no, bank, slot):
    return bank_seed(set_no, bank) * 1000 + slot


# ---------------------------------------------------------------------------
# Names
# ---------------------------------------------------------------------------

def printable_name(text):
    text = text[:NAME_BYTES]
    assert all(32 <= ord(c) <= 126 for c in text), text
    return text.ljust(NAME_BYTES)


def invent_name(r, prefixes, nouns, taken):
    """An original name from the word pools, unique within the bank."""
    for _ in range(400):
        pre, noun = r.choice(prefixes), r.choice(nouns)
        a, b = pre.lower(), noun.lower()
        if a in b or b in a or a[:4] == b[:4]:
            continue            # no "Sync Sync" or "Bouncy Bounce"
        name = f"{pre} {noun}"
        if len(name) <= NAME_BYTES and name not in taken:
            return name
    for n in range(2, 100):
        name = f"{r.choice(prefixes)} {r.choice(nouns)}"[:NAME_BYTES - 3] + f" {n}"
        if name not in taken:
            return name
    raise RuntimeError("name pools exhausted")


# ---------------------------------------------------------------------------
# Building programs and banks
# ---------------------------------------------------------------------------

EXPRESSIVE_CATEGORIES = {CAT[c] for c in ("Keys", "Strings", "Brass", "Synth", "Pads",
                                          "Instruments", "Organs")}
LEAD_CATEGORIES = {CAT[c] for c in ("Soft Lead", "Bright Lead", "Res Lead", "Sync")}


def finish_patch(p, r, ctx, category):
    """Shared finishing: set flavour, level, category."""
    if (ctx.set_no == 2 and category in EXPRESSIVE_CATEGORIES and category != CAT["Organs"]
            and p.v[VEL_DST] == 0):
        # The rack set answers velocity with brightness.
        p.controllers(velocity=(r.randint(10, 30), D_FILTER))
    if ctx.set_no == 3:
        # The keyboard set makes key pressure and the wheel expressive.
        if category in LEAD_CATEGORIES:
            p.controllers(pressure=(r.randint(18, 30), D_LFO1_AMT))
        elif category in EXPRESSIVE_CATEGORIES:
            p.controllers(pressure=(r.randint(20, 40), D_FILTER))
    p.set(VOLUME, r.randint(86, 100))
    p.set(PB_RANGE, r.choice((2, 2, 7, 12)) if category in LEAD_CATEGORIES else r.choice((2, 7)))
    # The envelope-follower amount stays at zero: byte 117 holds the
    # category and must not act as a modulation routing.
    p.set(EXT_EFD_AMT, 99)
    p.set(CATEGORY_BYTE, category)


def build_program(set_no, bank, slot, archetype=None, signature=None):
    ctx = Context(set_no, bank, slot)
    r = random.Random(slot_seed(set_no, bank, slot))
    p = Patch()
    if signature is not None:
        category = SIGNATURES[signature](p, r, ctx)
    else:
        category, design = ARCHETYPES[archetype][0], ARCHETYPES[archetype][1]
        design(p, r, ctx)
    finish_patch(p, r, ctx, category)
    return p


def build_bank(set_no, bank):
    """128 (parameter bytes, name) pairs of one program bank."""
    plan = BANK_PLANS[set_no][bank]
    fixed = plan["fixed"]
    free_slots = [s for s in range(SLOTS) if s not in fixed]
    order = [key for key, count in plan["fill"] for _ in range(count)]
    if len(order) != len(free_slots):
        raise ValueError(f"set {set_no} bank {bank}: plan fills {len(order)} of "
                         f"{len(free_slots)} free slots")
    rng = random.Random(bank_seed(set_no, bank))
    if plan["mixed"]:
        rng.shuffle(order)
    slots = [None] * SLOTS
    taken = set(fixed.values())
    for slot, name in fixed.items():
        if name == BASIC_PROGRAM_NAME:
            slots[slot] = (bytes(INIT_PROGRAM), name)
        else:
            slots[slot] = (build_program(set_no, bank, slot, signature=name).bytes(), name)
    for slot, key in zip(free_slots, order):
        p = build_program(set_no, bank, slot, archetype=key)
        _, _, prefixes, nouns = ARCHETYPES[key]
        name = invent_name(rng, prefixes, p.nouns or nouns, taken)
        taken.add(name)
        slots[slot] = (p.bytes(), name)
    return slots


# ---------------------------------------------------------------------------
# Combos
# ---------------------------------------------------------------------------
#
# A combo holds four 16-byte part entries, one per voice part; the plug-in
# stores them without reading them.  The generator writes into each entry
# the program bank and slot it layers, a level, a pan mode, a transpose
# around 24 and a key range, and zeros for the rest, every byte in 0..127.

COMBO_KINDS = ("Stack", "Split", "Layer", "Quad", "Duo", "Blend", "Wall", "Mix")
COMBO_WORDS = (
    "Amber", "Aurora", "Basalt", "Breeze", "Cinder", "Cobalt", "Comet", "Coral", "Crater",
    "Delta", "Dune", "Echo", "Ember", "Fjord", "Flint", "Frost", "Galaxy", "Glacier",
    "Harbor", "Helix", "Horizon", "Indigo", "Iris", "Jade", "Kestrel", "Lagoon", "Lantern",
    "Lumen", "Magma", "Marble", "Meadow", "Meteor", "Mirage", "Monsoon", "Nimbus", "Nova",
    "Obsidian", "Onyx", "Orchid", "Pebble", "Prairie", "Pulsar", "Quartz", "Quasar",
    "Raven", "Reef", "Saffron", "Sierra", "Solstice", "Spruce", "Summit", "Tempest",
    "Thistle", "Topaz", "Tundra", "Umber", "Valley", "Vesper", "Willow", "Zenith",
)


def combo_part(bank, slot, level, pan, transpose, low_key, high_key):
    entry = [bank, slot, level, pan, transpose, low_key, high_key] + [0] * 9
    assert len(entry) == 16 and all(0 <= b <= 127 for b in entry)
    return entry


def build_combo_bank(set_no, cbank):
    rng = random.Random(0x0C0B0000 + 0x10 * set_no + cbank)
    combos, taken = [], set()
    for slot in range(SLOTS):
        kind = COMBO_KINDS[rng.randrange(len(COMBO_KINDS))]
        parts = []
        for part in range(4):
            bank, pslot = rng.randrange(PROGRAM_BANKS), rng.randrange(SLOTS - 1)
            level = rng.randint(70, 100)
            pan = rng.randint(0, 6)
            if kind == "Split":
                low, high = (0, 59) if part < 2 else (60, 127)
                transpose = 12 if part < 2 else 24
            elif kind in ("Duo",) and part >= 2:
                low, high, level = 0, 127, 0
                transpose = 24
            else:
                low, high = 0, 127
                transpose = rng.choice((24, 24, 24, 36, 12))
            parts += combo_part(bank, pslot, level, pan, transpose, low, high)
        name = None
        for _ in range(200):
            cand = f"{rng.choice(COMBO_WORDS)} {kind}"
            if len(cand) <= NAME_BYTES and cand not in taken:
                name = cand
                break
        if name is None:
            name = f"Combo {'ABC'[cbank]}-{slot + 1:03d}"
        taken.add(name)
        combos.append(bytes(parts) + printable_name(name).encode("ascii"))
    return combos


# ---------------------------------------------------------------------------
# Data images
# ---------------------------------------------------------------------------

def build_image(set_no):
    image = bytearray(IMAGE_SIZE)
    for bank in range(PROGRAM_BANKS):
        for slot, (params, name) in enumerate(build_bank(set_no, bank)):
            assert len(params) == PROGRAM_BYTES
            image[program_offset(bank, slot):program_offset(bank, slot) + PROGRAM_BYTES] = params
            image[name_offset(bank, slot):name_offset(bank, slot) + NAME_BYTES] = \
                printable_name(name).encode("ascii")
    image[OFS_USER_WAVES:OFS_USER_WAVES + USER_WAVES * WAVE_BYTES] = wave_bytes(user_waves(set_no))
    for cbank in range(COMBO_BANKS):
        for slot, combo in enumerate(build_combo_bank(set_no, cbank)):
            image[combo_offset(cbank, slot):combo_offset(cbank, slot) + COMBO_BYTES] = combo
    return bytes(image)


def build_all():
    """File name -> bytes of every output."""
    out = {f"set{n}.evl": build_image(n) for n in (1, 2, 3)}
    out["fixed_waves.bin"] = wave_bytes(fixed_waves())
    return out


# ---------------------------------------------------------------------------
# Validation
# ---------------------------------------------------------------------------

def check_name(raw, where, problems):
    if len(raw) != NAME_BYTES:
        problems.append(f"{where}: name is {len(raw)} bytes")
        return None
    if any(b < 32 or b > 126 for b in raw):
        problems.append(f"{where}: name has a byte outside 32..126: {raw!r}")
        return None
    text = raw.decode("ascii")
    if not text.strip():
        problems.append(f"{where}: name is blank")
    elif text[0] == " ":
        problems.append(f"{where}: name starts with a space: {text!r}")
    return text.rstrip(" ")


def check_wave(raw, where, problems):
    samples = struct.unpack("<128h", raw)
    peak = max(abs(s) for s in samples)
    if min(samples) < -32767:
        problems.append(f"{where}: sample below -32767")
    if peak < 30000:
        problems.append(f"{where}: peak {peak} is not normalised")


def check_image(set_no, data, problems):
    where = f"set{set_no}.evl"
    if len(data) != IMAGE_SIZE:
        problems.append(f"{where}: size {len(data)}, expected {IMAGE_SIZE}")
        return
    for bank in range(PROGRAM_BANKS):
        names = {}
        for slot in range(SLOTS):
            loc = f"{where} bank {'ABCD'[bank]} slot {slot}"
            params = data[program_offset(bank, slot):program_offset(bank, slot) + PROGRAM_BYTES]
            for n, v in enumerate(params):
                lo, hi = param_range(n)
                if not lo <= v <= hi:
                    pname = PARAMS[n][3] if n < 128 else f"step {n}"
                    problems.append(f"{loc}: parameter {n} ({pname}) = {v}, range {lo}..{hi}")
            category = params[CATEGORY_BYTE]
            if category >= len(CATEGORY_NAMES):
                problems.append(f"{loc}: category {category} outside 0..25")
            name = check_name(data[name_offset(bank, slot):name_offset(bank, slot) + NAME_BYTES],
                              loc, problems)
            if name is None:
                continue
            if name in names:
                problems.append(f"{loc}: name {name!r} repeats slot {names[name]}")
            names.setdefault(name, slot)
            required = REQUIRED_NAMES.get((set_no, bank, slot))
            if required is not None and name != required:
                problems.append(f"{loc}: name {name!r}, expected {required!r}")
            if name == BASIC_PROGRAM_NAME:
                if bytes(params) != bytes(INIT_PROGRAM):
                    problems.append(f"{loc}: {BASIC_PROGRAM_NAME!r} is not the initial program")
                continue
            check_design(params, loc, problems)
    for w in range(USER_WAVES):
        ofs = OFS_USER_WAVES + WAVE_BYTES * w
        check_wave(data[ofs:ofs + WAVE_BYTES], f"{where} user wave {w + 1}", problems)
    for cbank in range(COMBO_BANKS):
        for slot in range(SLOTS):
            loc = f"{where} combo {'ABC'[cbank]} slot {slot}"
            combo = data[combo_offset(cbank, slot):combo_offset(cbank, slot) + COMBO_BYTES]
            if any(b > 127 for b in combo[:COMBO_PART_BYTES]):
                problems.append(f"{loc}: part data byte above 127")
            check_name(combo[COMBO_PART_BYTES:], loc, problems)


def check_design(params, loc, problems):
    """Musical sanity of a designed program."""
    audible_src = any(params[n] for n in (3, 7, 11, 15, NOISE))
    if not audible_src:
        problems.append(f"{loc}: every oscillator and the noise are silent")
    if params[AMP_AMT] == 0 and params[AMP_LEVEL] == 0:
        problems.append(f"{loc}: the amplifier never opens")
    if params[CATEGORY_BYTE] in (CAT["Sequence"], CAT["Arpeggiator"]):
        lanes = [params[SEQ_STEP_BASE + 16 * k:SEQ_STEP_BASE + 16 * (k + 1)] for k in range(4)]
        routed = [params[SEQ_DST[k]] for k in range(4)]
        if not any(routed) or not any(any(lane) for lane in lanes):
            problems.append(f"{loc}: sequence program without programmed steps")
    if params[EXT_EFD_AMT] != 99:
        problems.append(f"{loc}: envelope follower amount is not zero")


def run_check(out_dir):
    problems = []
    files = {}
    for fname in ("set1.evl", "set2.evl", "set3.evl", "fixed_waves.bin"):
        path = out_dir / fname
        if not path.is_file():
            problems.append(f"{fname}: missing")
            continue
        files[fname] = path.read_bytes()
    for n in (1, 2, 3):
        if f"set{n}.evl" in files:
            check_image(n, files[f"set{n}.evl"], problems)
    if "fixed_waves.bin" in files:
        fw = files["fixed_waves.bin"]
        if len(fw) != FIXED_WAVES * WAVE_BYTES:
            problems.append(f"fixed_waves.bin: size {len(fw)}, expected {FIXED_WAVES * WAVE_BYTES}")
        else:
            for w in range(FIXED_WAVES):
                check_wave(fw[WAVE_BYTES * w:WAVE_BYTES * (w + 1)], f"fixed wave {w + 1}", problems)
    # The files must be exactly what this generator makes.
    if not problems:
        for fname, data in build_all().items():
            if files.get(fname) != data:
                problems.append(f"{fname}: differs from the generator's output (regenerate it)")
    for msg in problems[:200]:
        print("FAIL", msg)
    if len(problems) > 200:
        print(f"... and {len(problems) - 200} more")
    if problems:
        print(f"{len(problems)} problem(s)")
        return 1
    for fname in sorted(files):
        print(f"ok  {fname}  {len(files[fname])} bytes  sha256 {hashlib.sha256(files[fname]).hexdigest()}")
    return 0


def summary():
    """Per bank: theme and the count of programs of each category."""
    for set_no, banks in BANK_PLANS.items():
        print(f"Set {set_no} ({SET_TITLES[set_no]})")
        for b, plan in enumerate(banks):
            counts = {}
            for params, _ in build_bank(set_no, b):
                cat = CATEGORY_NAMES[params[CATEGORY_BYTE]]
                counts[cat] = counts.get(cat, 0) + 1
            parts = ", ".join(f"{c} {n}" for c, n in sorted(counts.items(), key=lambda x: -x[1]))
            print(f"  bank {'ABCD'[b]}: {plan['theme']}: {parts}")


def main(argv=None):
    default_out = Path(__file__).resolve().parents[2] / "resources" / "factory"
    ap = argparse.ArgumentParser(description="Build or check the factory preset data.")
    ap.add_argument("--check", action="store_true", help="validate the files on disk and exit")
    ap.add_argument("--summary", action="store_true", help="print the categories of every bank")
    ap.add_argument("--out", type=Path, default=default_out, help="output folder")
    args = ap.parse_args(argv)
    if args.summary:
        summary()
        return 0
    if args.check:
        return run_check(args.out)
    args.out.mkdir(parents=True, exist_ok=True)
    for fname, data in build_all().items():
        (args.out / fname).write_bytes(data)
        print(f"wrote {args.out / fname}  {len(data)} bytes  sha256 {hashlib.sha256(data).hexdigest()}")
    return run_check(args.out)


if __name__ == "__main__":
    sys.exit(main())
