#!/usr/bin/env python3
"""Writes a corpus of hostile application folders: characters and state files as a
careless or malicious author could publish them. Each case is OUT/<case>/app (an
application folder with Characters/ and often Params/) beside OUT/<case>/outside, files
the case must never read or change; OUT/cases.json lists the cases with what is known of
their outcome. The same seed gives the same corpus.

    python3 tests/hostile/make_hostile_corpus.py --base characters --seed 1 --out /tmp/hostile

Families: byte flips and cuts of every kind of file, wrong kinds of files (folders,
FIFOs, links to devices, to outside files and in cycles), hostile names in the data
(climbing out, absolute, drives, devices), hostile folder names, huge and negative
numbers, encodings, very large inputs, and damaged app.cfg and .param files.
"""
import argparse
import json
import os
import random
import re
import shutil
import struct
import sys

from param_file import encode_param, param_file_name

# Text that stands in every outside file: it must never appear in anything the program
# prints or writes.
SECRET = "ZV-OUTSIDE-SECRET-7f3a"
BIG = ["2147483647", "-2147483648", "2147483648", "-2147483649", "4294967296", "-1", "0",
       "99999999999999999999", "-99999999999999999999", "9223372036854775807"]
HOSTILE_NAMES = [
    "", ".", "..", "Images", "../" * 24 + "dev/zero", "..\\" * 24 + "dev\\zero",
    "..\\..\\..\\outside\\secret.png", "../../../outside/secret.txt", "/etc/passwd", "/dev/zero",
    "C:\\Windows\\win.ini", "c:secret.png", "\\\\server\\share\\x.png", "con", "NUL.png",
    "com1.wav", "aux", "lpt9.cur", "CONOUT$", "x.png:stream", "a\x01b.png", "... ", ". .",
]


class Corpus:
    def __init__(self, base, out, seed):
        self.base = base
        self.out = out
        self.rng = random.Random(seed)
        self.cases = []
        self.characters = sorted(d for d in os.listdir(base) if os.path.isdir(os.path.join(base, d)))

    # --- building blocks -------------------------------------------------------
    def new_case(self, name, note, check=None, characters=None, state=False):
        """A fresh case folder with copies of the base characters (all, or the named)."""
        root = os.path.join(self.out, name)
        app = os.path.join(root, "app")
        outside = os.path.join(root, "outside")
        os.makedirs(os.path.join(app, "Characters"))
        os.makedirs(outside)
        for file in ("secret.txt", "secret.png", "secret.func"):
            with open(os.path.join(outside, file), "w") as f:
                f.write(f"{SECRET}\n<FUNC_ORDER_REG>\n{SECRET}\n")
        os.makedirs(os.path.join(outside, "Scripts"))
        shutil.copy(os.path.join(outside, "secret.func"), os.path.join(outside, "Scripts", "secret.func"))
        for chara in characters if characters is not None else self.characters:
            shutil.copytree(os.path.join(self.base, chara), os.path.join(app, "Characters", chara), symlinks=True)
        self.cases.append({"name": name, "note": note, "check": check, "state": state})
        return app

    def chara(self, app, index=0):
        return os.path.join(app, "Characters", self.characters[index % len(self.characters)])

    def files_of(self, top, suffix):
        """The files below a folder whose names end in `suffix`, in name order."""
        found = []
        for folder, _, files in os.walk(top):
            found += [os.path.join(folder, f) for f in files if f.lower().endswith(suffix)]
        return sorted(found)

    def script(self, app, index=0):
        return self.files_of(self.chara(app, index), ".func")[0]

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    @staticmethod
    def write(path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data.encode("utf-8") if isinstance(data, str) else data)

    def set_key(self, path, key, value, nth=0):
        """Sets the nth `key = …` line of a text file to `value` (adds one when absent).
        A backslash is written as the files escape it, so the value reads as given."""
        value = value.replace("\\", "\\\\")
        text = self.read(path).decode("utf-8", "surrogateescape")
        lines = text.split("\n")
        hits = [i for i, line in enumerate(lines) if re.match(rf"\s*{re.escape(key)}\s*=", line)]
        if hits:
            lines[hits[nth % len(hits)]] = f"{key} = {value}"
        else:
            lines.append(f"{key}={value}")
        self.write(path, "\n".join(lines).encode("utf-8", "surrogateescape"))

    def drop_key(self, path, key, nth=0):
        lines = self.read(path).decode("utf-8", "surrogateescape").split("\n")
        hits = [i for i, line in enumerate(lines) if re.match(rf"\s*{re.escape(key)}\s*=", line)]
        if hits:
            del lines[hits[nth % len(hits)]]
        self.write(path, "\n".join(lines).encode("utf-8", "surrogateescape"))

    def replace_with(self, path, kind):
        """Puts something that is not a regular file where `path` was."""
        if os.path.lexists(path):
            if os.path.isdir(path) and not os.path.islink(path):
                shutil.rmtree(path)
            else:
                os.remove(path)
        root = path.split(os.sep + "app" + os.sep)[0]
        if kind == "folder":
            os.makedirs(path)
        elif kind == "fifo":
            os.mkfifo(path)
        elif kind == "zero":
            os.symlink("/dev/zero", path)
        elif kind == "outside":
            os.symlink(os.path.join(root, "outside", "secret.txt"), path)
        elif kind == "outside-folder":
            os.symlink(os.path.join(root, "outside"), path)
        elif kind == "loop":
            os.symlink(os.path.basename(path) + ".b", path)
            os.symlink(os.path.basename(path), path + ".b")
        elif kind == "dangling":
            os.symlink("nowhere-at-all", path)

    # --- families --------------------------------------------------------------
    def flips_and_cuts(self, per_kind):
        kinds = [".png", ".wav", ".cur", ".ani", ".func", "config.ini", ".tga"]
        for kind in kinds:
            for i in range(per_kind):
                for damage in ("flip", "cut"):
                    app = self.new_case(f"{damage}-{kind.strip('.').replace('.', '-')}-{i:02d}", f"{damage} of a {kind} file")
                    if kind == ".tga":
                        self.use_tga(app)
                    targets = self.files_of(app, kind)
                    if not targets:
                        continue
                    target = self.rng.choice(targets)
                    data = bytearray(self.read(target))
                    if damage == "flip" and data:
                        for _ in range(self.rng.randint(1, 12)):
                            at = self.rng.randrange(len(data))
                            data[at] = self.rng.randrange(256)
                    elif data:
                        data = data[: self.rng.randrange(len(data))]
                    self.write(target, bytes(data))

    def use_tga(self, app):
        """Replaces one image of the first character with a TGA of the same size."""
        pngs = self.files_of(self.chara(app), ".png")
        png = pngs[0]
        width, height = struct.unpack(">II", self.read(png)[16:24])
        name = os.path.splitext(os.path.basename(png))[0] + ".tga"
        rle = self.rng.random() < 0.5
        header = struct.pack("<BBBHHBHHHHBB", 0, 0, 10 if rle else 2, 0, 0, 0, 0, 0, width, height, 32, 8)
        pixel = bytes([40, 80, 160, 255])
        if rle:
            body = b"".join((bytes([0x80 | min(127, width - x - 1)]) + pixel)
                            for _ in range(height) for x in range(0, width, 128))
        else:
            body = pixel * width * height
        self.write(os.path.join(os.path.dirname(png), name), header + body)
        for script in self.files_of(self.chara(app), ".func"):
            text = self.read(script).decode("utf-8")
            self.write(script, text.replace(os.path.basename(png), name))

    def hostile_names(self):
        slots = [("ImageName", ".func"), ("SoundNameBgm", ".func"), ("NormalCursor", "config.ini"),
                 ("DlgImageName", "config.ini")]
        for key, where in slots:
            for n, name in enumerate(HOSTILE_NAMES):
                app = self.new_case(f"name-{key}-{n:02d}", f"{key} = {name!r}")
                target = self.script(app) if where == ".func" else os.path.join(self.chara(app), "config.ini")
                self.set_key(target, key, name, nth=self.rng.randrange(4))
        # The shipped character with one motion's image name deleted: the folder itself.
        app = self.new_case("name-ImageName-deleted", "a motion without ImageName", check=1)
        self.drop_key(self.script(app), "ImageName", nth=1)
        # A name that stays inside Characters, in a sibling's folder, keeps working.
        if len(self.characters) > 1:
            app = self.new_case("name-sibling-share", "an image of the sibling character", check=0)
            sibling_image = self.files_of(self.chara(app, 1), ".png")[0]
            own = self.files_of(self.chara(app, 0), ".png")[0]
            shutil.copy(own, sibling_image + ".shared.png")
            shared = os.path.relpath(sibling_image + ".shared.png", os.path.join(self.chara(app, 0), "Images"))
            for script in self.files_of(self.chara(app, 0), ".func"):
                text = self.read(script).decode("utf-8")
                self.write(script, text.replace(os.path.basename(own), shared.replace("/", "\\\\")))

    def wrong_kinds(self):
        kinds = ["folder", "fifo", "zero", "outside", "loop", "dangling"]
        for kind in kinds:
            for what in ("image", "sound", "cursor", "script", "config"):
                app = self.new_case(f"kind-{what}-{kind}", f"the {what} file is a {kind}")
                suffix = {"image": ".png", "sound": ".wav", "cursor": ".cur", "script": ".func", "config": "config.ini"}[what]
                self.replace_with(self.rng.choice(self.files_of(app, suffix)), kind)
        for what, path in (("Scripts", "Scripts"), ("Images", "Images"), ("chara", "")):
            app = self.new_case(f"kind-{what}-outside-folder", f"{what} is a link to a folder outside")
            self.replace_with(os.path.join(self.chara(app), path).rstrip(os.sep), "outside-folder")
        app = self.new_case("kind-scripts-loop", "a linked folder leading back to its parent")
        os.symlink("..", os.path.join(self.chara(app), "Scripts", "up"))

    def topnames(self):
        names = ["..\\..\\esc", "..\\Params", "a\\b", "..", "con", "nul.x", "a:b", "x" * 200,
                 "名前のキャラ", "new\nline", "100%", "_skipped", "tab\there", " lead", "trail. "]
        for n, name in enumerate(names):
            app = self.new_case(f"folder-name-{n:02d}", f"a character folder named {name!r}",
                                characters=self.characters[:1], state=True)
            source = os.path.join(app, "Characters", self.characters[0])
            try:
                os.rename(source, os.path.join(app, "Characters", name))
            except OSError:
                pass
            # A copy of the character at the place a backslash name would reach.
            if "\\" in name:
                shutil.copytree(os.path.join(self.base, self.characters[0]), os.path.join(app, "..", "esc"))
        app = self.new_case("folder-link-outside", "a character folder that links outside")
        shutil.copytree(os.path.join(self.base, self.characters[0]), os.path.join(app, "..", "outside", "Linked"))
        os.symlink(os.path.join(app, "..", "outside", "Linked"), os.path.join(app, "Characters", "Linked"))
        app = self.new_case("folder-many", "twenty character folders")
        for i in range(20):
            shutil.copytree(os.path.join(self.base, self.characters[0]), os.path.join(app, "Characters", f"Copy{i:02d}"))

    def numbers(self):
        script_keys = ["Width", "Height", "PosX", "PosY", "TimerFrame", "TextAreaWidth", "TextAreaHeight",
                       "TextSpeed", "FontSize", "Repeat"]
        for key in script_keys:
            for value in self.rng.sample(BIG, 4):
                app = self.new_case(f"number-{key}-{value.replace('-', 'm')[:12]}", f"{key} = {value}")
                self.set_key(self.script(app), key, value, nth=self.rng.randrange(6))
        for key in ("LineHeight", "DlgImagePosX", "DlgImagePosY"):
            for value in self.rng.sample(BIG, 3):
                app = self.new_case(f"number-ini-{key}-{value.replace('-', 'm')[:12]}", f"config.ini {key} = {value}")
                self.set_key(os.path.join(self.chara(app), "config.ini"), key, value)
        # Motion rows whose numbers are extreme.
        for n in range(6):
            app = self.new_case(f"number-rows-{n}", "motion rows with extreme numbers")
            text = self.read(self.script(app)).decode("utf-8")
            row = ", ".join(self.rng.choice(BIG) for _ in range(5))
            self.write(self.script(app), re.sub(r"(?m)^\s*\d+\s*,\s*\d+\s*,.*$", row, text, count=3))

    def state_files(self):
        keys = ["ScaleID", "AlphaID", "MoveScopeLeft", "MoveScopeTop", "MoveScopeRight", "MoveScopeBottom",
                "LowQuality", "UnMouse", "WndTopOrBottom"]
        for n in range(14):
            app = self.new_case(f"state-appcfg-numbers-{n:02d}", "app.cfg with extreme numbers", check=0, state=True)
            lines = [f"{key}={self.rng.choice(BIG)}" for key in keys]
            self.write(os.path.join(app, "Params", "app.cfg"), "\n".join(lines) + "\n")
        damages = ["random", "cut", "odd", "huge", "folder", "fifo", "zero", "outside", "loop", "utf16", "nul"]
        for what in ("appcfg", "param"):
            for damage in damages:
                app = self.new_case(f"state-{what}-{damage}", f"{what} damaged: {damage}", check=0, state=True)
                path = os.path.join(app, "Params", "app.cfg" if what == "appcfg" else self.characters[0] + ".param")
                self.write(path, self.good_state(what))
                data = self.read(path)
                if damage in ("folder", "fifo", "zero", "outside", "loop"):
                    self.replace_with(path, damage)
                elif damage == "random":
                    self.write(path, bytes(self.rng.randrange(256) for _ in range(self.rng.randint(1, 400))))
                elif damage == "cut":
                    self.write(path, data[: self.rng.randrange(max(1, len(data)))])
                elif damage == "odd":
                    self.write(path, data + b"\x01")
                elif damage == "huge":
                    self.write(path, data * (2 * 1024 * 1024 // max(1, len(data)) + 1))
                elif damage == "utf16":
                    self.write(path, "\ufeffScaleID=32778\n".encode("utf-16-le"))
                elif damage == "nul":
                    self.write(path, b"\0" * 64)
        # Whole state files whose numbers are extreme, for every character.
        for n in range(12):
            app = self.new_case(f"state-param-numbers-{n:02d}", "a .param with extreme numbers", check=0, state=True)
            for chara in self.characters:
                items = [f"{chara}.{key}={self.rng.choice(BIG)}" for key in ("x", "y", "LineNum", "Mute", "Hide")]
                self.write(os.path.join(app, "Params", param_file_name(chara)), encode_param(",".join(items) + ","))
        app = self.new_case("state-params-is-file", "Params is a file", check=0)
        self.write(os.path.join(app, "Params"), "not a folder")

    def good_state(self, what):
        if what == "appcfg":
            return "\ufeffLowQuality=0\nScaleID=32782\nAlphaID=32787\n"
        return bytes(self.rng.randrange(256) for _ in range(160))

    def encodings(self):
        variants = {
            "utf16le": lambda t: "\ufeff".encode("utf-16-le") + t.encode("utf-16-le"),
            "utf16be": lambda t: "\ufeff".encode("utf-16-be") + t.encode("utf-16-be"),
            "latin1-high": lambda t: t.encode("utf-8").replace(b"=", b"=\xff\xfe", 3),
            "overlong": lambda t: t.encode("utf-8").replace(b"<", b"\xc0\xbc", 5),
            "surrogates": lambda t: t.encode("utf-8").replace(b"=", b"=\xed\xa0\x80", 4),
            "nul-bytes": lambda t: t.encode("utf-8").replace(b"\n", b"\n\0", 20),
            "cr-only": lambda t: t.replace("\r\n", "\n").replace("\n", "\r").encode("utf-8"),
            "bom-twice": lambda t: b"\xef\xbb\xbf\xef\xbb\xbf" + t.encode("utf-8"),
            "truncated-utf8": lambda t: t.encode("utf-8") + b"\xe3\x81",
        }
        for name, encode in variants.items():
            for target in ("script", "config"):
                app = self.new_case(f"encoding-{target}-{name}", f"{target} encoded as {name}")
                path = self.script(app) if target == "script" else os.path.join(self.chara(app), "config.ini")
                self.write(path, encode(self.read(path).decode("utf-8")))

    def large_inputs(self):
        app = self.new_case("large-10mb-line", "a script line of 10 MB")
        with open(self.script(app), "ab") as f:
            f.write(b"\n## " + b"x" * (10 * 1024 * 1024) + b"\n")
        app = self.new_case("large-10mb-value", "a key whose value is 10 MB")
        self.set_key(self.script(app), "PosX", "1+" * (5 * 1024 * 1024) + "1")
        app = self.new_case("large-ini-line", "a config.ini line of 10 MB")
        with open(os.path.join(self.chara(app), "config.ini"), "ab") as f:
            f.write(b"\nCharaName=" + b"y" * (10 * 1024 * 1024) + b"\n")
        app = self.new_case("large-functions", "four thousand functions")
        blocks = [f"<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName = many{i}\nFuncNameMotion = many{i}\n"
                  f"FuncListTimer = many{(i + 1) % 4000}\nTimerFrame = 1\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n"
                  for i in range(4000)]
        self.write(os.path.join(self.chara(app), "Scripts", "many.func"), "".join(blocks))
        app = self.new_case("large-nesting", "tags nested ten thousand deep")
        self.write(os.path.join(self.chara(app), "Scripts", "deep.func"),
                   "<FUNC_ORDER_REG>\n" * 10000 + "</FUNC_ORDER_REG>\n" * 10000)
        app = self.new_case("large-empty-lines", "a million empty lines")
        with open(self.script(app), "ab") as f:
            f.write(b"\n" * 1000000)
        app = self.new_case("large-script-files", "five hundred script files")
        for i in range(500):
            self.write(os.path.join(self.chara(app), "Scripts", f"part{i:03d}.func"), "## nothing\n")
        app = self.new_case("large-expression", "an expression nested a hundred thousand deep")
        self.set_key(self.script(app), "PosY", "(" * 100000 + "1" + ")" * 100000)

    def write_index(self):
        with open(os.path.join(self.out, "cases.json"), "w") as f:
            json.dump({"secret": SECRET, "cases": self.cases}, f, indent=1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--base", required=True, help="folder of well-formed characters to damage")
    parser.add_argument("--out", required=True, help="folder to write the corpus into (made anew)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--per-kind", type=int, default=6, help="flips and cuts of each kind of file")
    args = parser.parse_args()
    if os.path.exists(args.out):
        shutil.rmtree(args.out)
    os.makedirs(args.out)
    corpus = Corpus(args.base, args.out, args.seed)
    corpus.new_case("base", "the characters as they are", check=0, state=True)
    corpus.flips_and_cuts(args.per_kind)
    corpus.hostile_names()
    corpus.wrong_kinds()
    corpus.topnames()
    corpus.numbers()
    corpus.state_files()
    corpus.encodings()
    corpus.large_inputs()
    corpus.write_index()
    print(f"{len(corpus.cases)} cases in {args.out}")


if __name__ == "__main__":
    sys.exit(main())
