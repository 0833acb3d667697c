#!/usr/bin/env python3
"""Writes the factory preset archive resources/presets/Presets.zip.

Each preset is a property-list file "<Name>.rbprs" with one key/real pair per
host parameter, keys in alphabetical order. The archive is byte-reproducible:
entries are written in name order with a fixed timestamp, fixed attributes and
fixed compression settings, so running the script again gives the same bytes.

Usage: tools/make_factory_presets.py [output.zip]
"""
import os
import sys
import zipfile

# Host parameter IDs in table order; each row below gives one value per ID.
PARAMETERS = [
    "InputGain", "InputFilterType", "InputFilterGain", "InputFilterFrequency",
    "PreDelay", "RoomSize", "SizeModulationRate", "SizeModulationAmount",
    "ReverbTime", "HFDamp", "Freeze", "FreqShifterFrequency", "FreqShifterDryWet",
    "DuckingThreshold", "DuckingAttack", "DuckingRelease", "EffectDryWet",
]

PRESETS = [
    ("Behind.rbprs", ["-14.735067", "0", "3.7158024", "154.22", "0", "43.83334", "1.9702231", "0", "10.396405", "1427.77", "0", "-100", "0", "-21.299995", "20", "100", "32.346256"]),
    ("Bright.rbprs", ["1.5", "1", "4", "1000", "37", "41", "4", "35", "1.3", "12517", "0", "-100", "0", "-18", "20", "200", "48"]),
    ("Cathedral.rbprs", ["1", "0", "2", "400", "30", "41.5", "1", "59", "10", "5200", "0", "-100", "0", "-6", "20", "400", "60"]),
    ("Chorus.rbprs", ["5", "1", "0", "800", "6.8", "28.5", "1.66", "100", "0.3", "2000", "0", "-100", "0", "0", "20", "100", "45"]),
    ("Empty Venue.rbprs", ["5.8", "0", "0", "100", "67", "42.9", "0.5", "42.9", "0.647", "18000", "0", "-100", "0", "-23", "20", "100", "65"]),
    ("Far Away.rbprs", ["6", "1", "-3", "100", "100", "74", "1.66", "50", "1.2", "6000", "0", "-100", "0", "-18", "7", "60", "46"]),
    ("Flanged.rbprs", ["1", "0", "3", "300", "12", "0.7", "0.52", "96", "0.4", "5400", "0", "-100", "0", "-10", "10", "80", "40"]),
    ("Freeze.rbprs", ["-6.128956", "0", "-16.700695", "901.74", "8", "68.666664", "1", "0", "4.2819986", "17999.99", "1", "-100", "0", "-10", "20", "100", "50"]),
    ("Hall.rbprs", ["0", "1", "1", "100", "8", "47.7", "0.625", "7", "2.9", "18000", "0", "-100", "0", "-15", "20", "100", "31"]),
    ("Heavy Bouncing.rbprs", ["0", "0", "-3", "400", "8", "13.833334", "12.5", "100", "0.8471395", "9000", "0", "-100", "0", "-21.249992", "20", "100", "50"]),
    ("High Voices.rbprs", ["0.044992447", "1", "14.005716", "992.06", "0", "15.500005", "0.51084024", "100", "19.907522", "17999.99", "0", "-100", "0", "0", "20", "100", "32.346256"]),
    ("Huge.rbprs", ["-2.6", "0", "-3", "80", "70", "100.7", "0.5", "100", "7", "7300", "0", "-100", "0", "0", "12", "191", "53"]),
    ("Inifinite.rbprs", ["1", "1", "-6", "1000", "0", "52.7", "0.71", "5.3", "30", "7300", "0", "-100", "0", "-17.2", "12", "191", "53"]),
    ("Large Factory.rbprs", ["0", "0", "3.5", "200", "72", "91.7", "0.7", "12", "6.9", "10000", "0", "-100", "0", "-12", "20", "200", "31"]),
    ("Late Reflections.rbprs", ["0", "0", "-1.5", "1000", "67", "37.7", "0.95", "64", "0.375", "18000", "0", "-100", "0", "-3", "20", "200", "49"]),
    ("Lazers.rbprs", ["0", "1", "3.7158024", "484.86", "8", "0", "11.172904", "100", "1.2860627", "17999.99", "0", "-100", "0", "-10", "20", "100", "74.99621"]),
    ("Light Ducker.rbprs", ["0", "1", "-1.6741527", "520.85", "8", "50", "1", "25", "0.57454264", "9000", "0", "-100", "0", "-27.400005", "10.058502", "37.08225", "75.60261"]),
    ("Metal Box.rbprs", ["0", "1", "3", "1000", "30", "3.5", "0.5", "1", "0.8", "5100", "0", "-100", "0", "-22.5", "20", "100", "65"]),
    ("Metallic.rbprs", ["0", "0", "-3", "400", "8", "0", "1", "25", "1.2860627", "9000", "0", "-100", "0", "-10", "20", "100", "50"]),
    ("New area.rbprs", ["0", "0", "-3", "400", "8", "50", "1", "25", "0.7924914", "17999.99", "0", "-100", "0", "-20.350006", "20", "100", "50"]),
    ("Nuclear Plant.rbprs", ["-4.8", "0", "0", "100", "56", "42.9", "0.5", "71.3", "6.2", "6910", "0", "-100", "0", "0", "20", "100", "42"]),
    ("Plate.rbprs", ["4.5", "0", "-3.5", "500", "29", "47.5", "0.71", "90", "3.6", "6000", "0", "-100", "0", "-16", "1", "50", "34"]),
    ("Room.rbprs", ["0", "1", "3", "200", "14", "28.7", "1.25", "1.5", "0.4", "4300", "0", "-100", "0", "0", "20", "100", "65"]),
    ("Stage.rbprs", ["0", "0", "-6", "2000", "19", "63.5", "0.71", "36", "2.8", "7300", "0", "-100", "0", "0", "20", "100", "40"]),
    ("Stranger.rbprs", ["6", "1", "3", "1000", "29", "61", "3.33", "85", "4.4", "3000", "0", "-100", "0", "-16", "20", "100", "46"]),
    ("Too late.rbprs", ["6.5931168", "0", "-3", "400", "138.61687", "85.333336", "0.51084024", "100", "0.27746946", "17999.99", "0", "-100", "0", "-20.350006", "20", "100", "57.612812"]),
    ("Underwater.rbprs", ["8", "0", "9", "200", "98", "64.7", "1.25", "17", "1.1", "800", "0", "-100", "0", "-65", "2", "550", "53"]),
    ("Vibrant Tails.rbprs", ["0.6", "1", "3", "750", "40", "90.7", "4.34", "100", "2", "18000", "0", "-100", "0", "0", "20", "100", "30"]),
]

HEADER = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
    '"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n'
)

FIXED_TIME = (2020, 1, 1, 0, 0, 0)


def preset_text(values):
    assert len(values) == len(PARAMETERS)
    pairs = sorted(zip(PARAMETERS, values))
    lines = [HEADER, '<plist version="1.0">\n', "<dict>\n"]
    for key, value in pairs:
        lines.append("\t<key>%s</key>\n" % key)
        lines.append("\t<real>%s</real>\n" % value)
    lines.append("</dict>\n</plist>\n")
    return "".join(lines).encode("utf-8")


def write_archive(path):
    with zipfile.ZipFile(path, "w") as archive:
        for file_name, values in sorted(PRESETS):
            info = zipfile.ZipInfo(file_name, date_time=FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3
            info.external_attr = 0o100644 << 16
            archive.writestr(info, preset_text(values), compresslevel=9)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    default = os.path.join(root, "resources", "presets", "Presets.zip")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(os.path.dirname(path), exist_ok=True)
    write_archive(path)
    print("Wrote %s (%d presets, %d bytes)" % (path, len(PRESETS), os.path.getsize(path)))


if __name__ == "__main__":
    main()
