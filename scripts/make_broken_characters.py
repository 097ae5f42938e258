#!/usr/bin/env python3
"""Writes tests/data/broken_characters/: fifty character folders, each a small sound
character with one fault, and expected.tsv, one line per folder: the folder name, then
the exact text of the error message the program must show for it (the caption is
always "エラー"). The test suite runs every folder on its own and compares.

    python3 scripts/make_broken_characters.py
"""
import os
import shutil
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "broken_characters")


def png(width, height):
    """A plain opaque PNG of the given size."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + b"\x40\x80\xc0\xff" * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def block(register, config, rows=None, text=None):
    parts = [f"<FUNC_{register}>", "<SET_CONFIG>", *config, "</SET_CONFIG>"]
    if rows is not None:
        parts += ["<SET_PARAM>", *rows, "</SET_PARAM>"]
    if text is not None:
        parts += ["<SET_TEXT>", *text, "</SET_TEXT>"]
    return "\n".join(parts + [f"</FUNC_{register}>", ""])


MOTION = block("MOTION_REG", ["FuncName = stand", "ImageName = body.png", "Width = 16", "Height = 16"],
               ["0, 0, 0, 0, 1"])
START = ["FuncName = start", "FuncType = START_EVENT", "FuncNameMotion = stand", "TimerFrame = 30",
         "FuncListTimer = start"]
BUBBLE = block("BALLOON_MOTION_REG", ["FuncName = bubble", "ImageName = bubble.png", "Width = 40", "Height = 20"],
               ["0, 0, 0, 0, 1"])
SAY = ["FuncName = say", "FuncNameMotion = bubble", "TextAreaWidth = 40", "TextAreaHeight = 20"]


def start(*extra, drop=()):
    return block("ORDER_REG", [line for line in START if not line.startswith(drop)] + list(extra))


def say(*extra, drop=()):
    return block("BALLOON_ORDER_REG", [line for line in SAY if not line.startswith(drop)] + list(extra),
                 text=['"Hi"'])


# Each case: name, the faulty folder's files ({path: text or bytes}; None drops a base
# file), and its message with {F} for the folder name.
def cases():
    yield "no-scripts", {"Scripts/a.func": None}, "{F}のスクリプト命令が存在しません。"
    yield "no-func-file", {"Scripts/a.func": None, "Scripts/a.txt": MOTION + start()}, "{F}のスクリプト命令が存在しません。"
    yield "empty-func-file", {"Scripts/a.func": ""}, "{F}のスクリプト命令が存在しません。"
    yield "no-function", {"Scripts/a.func": MOTION}, "{F}のスクリプトに不正な命令が設定されています。"
    yield "functype-missing", {"Scripts/a.func": MOTION + start(drop="FuncType")}, "{F}のstartに不正なFuncTypeが設定されています。"
    yield "functype-lower-case", {"Scripts/a.func": MOTION + start("FuncType = start_event", drop="FuncType")}, \
        "{F}のstartに不正なFuncTypeが設定されています。"
    yield "functype-unknown", {"Scripts/a.func": MOTION + start("FuncType = WALK_EVENT", drop="FuncType")}, \
        "{F}のstartに不正なFuncTypeが設定されています。"
    yield "last-of-three-faults", {"Scripts/a.func": MOTION + start() + "".join(
        block("ORDER_REG", [f"FuncName = {n}", "FuncNameMotion = stand"]) for n in ("one", "two", "three"))}, \
        "{F}のthreeに不正なFuncTypeが設定されています。"
    yield "name-taken-by-motion", {"Scripts/a.func": MOTION + start() + block(
        "ORDER_REG", ["FuncName = stand", "FuncType = NONE_EVENT", "FuncNameMotion = stand"])}, "{F}のstandは名前が重複しています。"
    yield "reserved-name", {"Scripts/a.func": MOTION + start() + block(
        "ORDER_REG", ["FuncName = |ORDER_OBJECT_HIDE|", "FuncType = NONE_EVENT", "FuncNameMotion = stand"])}, \
        "{F}の|ORDER_OBJECT_HIDE|は名前が重複しています。"
    yield "text-layer-clashes-with-balloon", {"Scripts/a.func": MOTION + start() + BUBBLE + say() + block(
        "TEXT_LAYER_REG", ["FuncName = say-<SET_TEXT>"])}, "{F}のsay-<SET_TEXT>は名前が重複しています。"
    yield "width-not-a-number", {"Scripts/a.func": MOTION.replace("Width = 16", "Width = wide") + start()}, \
        "{F}のstandに不正な数値が設定されています。"
    yield "width-with-a-point", {"Scripts/a.func": MOTION.replace("Width = 16", "Width = 1.5") + start()}, \
        "{F}のstandに不正な数値が設定されています。"
    yield "height-only-a-sign", {"Scripts/a.func": MOTION.replace("Height = 16", "Height = -") + start()}, \
        "{F}のstandに不正な数値が設定されています。"
    yield "size-from-missing-image", {"Scripts/a.func": MOTION.replace("Width = 16\n", "").replace(
        "body.png", "gone.png") + start()}, "{F}のstand{F}のgone.pngを読み込めませんでした。"
    yield "motion-image-missing", {"Scripts/a.func": MOTION.replace("body.png", "gone.png") + start()}, \
        "{F}のgone.pngを読み込めませんでした。"
    yield "cell-outside-image", {"Scripts/a.func": MOTION.replace("0, 0, 0, 0, 1", "24, 0, 0, 0, 1") + start()}, \
        "{F}のstandに画像サイズを超えるパラメータ指定が有ります。"
    yield "cell-below-image", {"Scripts/a.func": MOTION.replace("0, 0, 0, 0, 1", "0, 1, 0, 0, 1") + start()}, \
        "{F}のstandに画像サイズを超えるパラメータ指定が有ります。"
    yield "row-image-missing", {"Scripts/a.func": MOTION.replace("0, 0, 0, 0, 1", "0, 0, 0, 0, 1, other.png") + start()}, \
        "{F}のother.pngを読み込めませんでした。"
    yield "cell-outside-row-image", {"Scripts/a.func": MOTION.replace("0, 0, 0, 0, 1", "0, 0, 0, 0, 1, small.png")
                                     + start(), "Images/small.png": png(8, 8)}, \
        "{F}のstandに画像サイズを超えるパラメータ指定が有ります。"
    yield "row-sound-missing", {"Scripts/a.func": MOTION.replace("0, 0, 0, 0, 1", "0, 0, 0, 0, 1, step.wav") + start()}, \
        "{F}のstep.wavを読み込めませんでした。"
    yield "row-sound-not-a-wav", {"Scripts/a.func": MOTION.replace("0, 0, 0, 0, 1", "0, 0, 0, 0, 1, step.wav")
                                  + start(), "Sounds/step.wav": "not a sound\n"}, "{F}のstep.wavを読み込めませんでした。"
    for key in ("FuncListTimer", "FuncListEvent", "FuncListExit", "FuncListHide", "FuncListTurn", "FuncListEndLine",
                "FuncListCustom", "FuncListLButton"):
        drop = ("FuncListTimer",) if key == "FuncListTimer" else ()
        yield f"unknown-in-{key}", {"Scripts/a.func": MOTION + start(f"{key} = start, nobody*2", drop=drop)}, \
            "{F}のstartの" + key + "に存在しない関数nobodyが指定されています。"
    yield "unknown-in-CallBalloonList", {"Scripts/a.func": MOTION + start("CallBalloonList = nobody")}, \
        "{F}のstartのCallBalloonListに存在しない関数nobodyが指定されています。"
    yield "motion-name-missing", {"Scripts/a.func": MOTION + start(drop="FuncNameMotion")}, \
        "{F}のstartに有効なFuncNameMotionが設定されていません。"
    yield "motion-name-unknown", {"Scripts/a.func": MOTION + start("FuncNameMotion = sit", drop="FuncNameMotion")}, \
        "{F}のstartに有効なFuncNameMotionが設定されていません。"
    yield "motion-name-is-a-layer", {"Scripts/a.func": MOTION + block(
        "IMAGE_LAYER_REG", ["FuncName = glow", "ImageName = body.png", "Width = 8", "Height = 8"], ["0, 0, 0, 0, 1"])
        + start("FuncNameMotion = glow", drop="FuncNameMotion")}, "{F}のstartに有効なFuncNameMotionが設定されていません。"
    yield "music-missing", {"Scripts/a.func": MOTION + start("SoundNameBgm = music.wav")}, \
        "{F}のmusic.wavを読み込めませんでした。"
    yield "left-button-sound-missing", {"Scripts/a.func": MOTION + start("SoundNameLButton = click.wav")}, \
        "{F}のclick.wavを読み込めませんでした。"
    yield "right-button-sound-missing", {"Scripts/a.func": MOTION + start("SoundNameRButton = menu.wav")}, \
        "{F}のmenu.wavを読み込めませんでした。"
    yield "layer-bigger-than-motion", {"Scripts/a.func": MOTION + block(
        "IMAGE_LAYER_REG", ["FuncName = glow", "ImageName = body.png", "Width = 32", "Height = 8"], ["0, 0, 0, 0, 1"])
        + start("FuncNameImageLayer = glow")}, \
        "{F}のstartのFuncNameImageLayerにこの関数の画像サイズを超える値が設定がされています。"
    yield "layer-image-missing", {"Scripts/a.func": MOTION + block(
        "IMAGE_LAYER_REG", ["FuncName = glow", "ImageName = glow.png", "Width = 8", "Height = 8"], ["0, 0, 0, 0, 1"])
        + start("FuncNameImageLayer = glow")}, "{F}のglow.pngを読み込めませんでした。"
    yield "unknown-in-FuncListCondition", {"Scripts/a.func": MOTION + start("ListConditionEvent = check") + block(
        "CONDITION_EVENT_REG", ["FuncName = check", "Condition = 1", "FuncListCondition = nobody"])}, \
        "{F}のcheckのFuncListConditionに存在しない関数nobodyが指定されています。"
    yield "unknown-in-FuncListHit", {"Scripts/a.func": MOTION + start() + block(
        "HIT_EVENT_REG", ["FuncName = poke", "HitType = CLICK_L_BUTTON", "FuncListHit = nobody"])}, \
        "{F}のpokeのFuncListHitに存在しない関数nobodyが指定されています。"
    yield "hit-sound-missing", {"Scripts/a.func": MOTION + start() + block(
        "HIT_EVENT_REG", ["FuncName = poke", "HitType = CLICK_L_BUTTON", "FuncListHit = start", "SoundName = poke.wav"])}, \
        "{F}のpoke.wavを読み込めませんでした。"
    yield "balloon-motion-missing", {"Scripts/a.func": MOTION + start() + BUBBLE + say(drop="FuncNameMotion")}, \
        "{F}のsayに有効なFuncNameMotionが設定されていません。"
    yield "balloon-motion-is-a-character-motion", {"Scripts/a.func": MOTION + start() + BUBBLE + say(
        "FuncNameMotion = stand", drop="FuncNameMotion")}, "{F}のsayに有効なFuncNameMotionが設定されていません。"
    yield "unknown-in-NextBalloonList", {"Scripts/a.func": MOTION + start() + BUBBLE + say("NextBalloonList = nobody")}, \
        "{F}のsayのNextBalloonListに存在しない関数nobodyが指定されています。"
    yield "balloon-music-missing", {"Scripts/a.func": MOTION + start() + BUBBLE + say("SoundNameBgm = voice.wav")}, \
        "{F}のvoice.wavを読み込めませんでした。"
    yield "balloon-image-missing", {"Scripts/a.func": MOTION + start() + BUBBLE.replace("bubble.png", "gone.png") + say()}, \
        "{F}のgone.pngを読み込めませんでした。"
    yield "balloon-row-sound-missing", {"Scripts/a.func": MOTION + start() + BUBBLE.replace(
        "0, 0, 0, 0, 1", "0, 0, 0, 0, 1, pop.wav") + say()}, "{F}のpop.wavを読み込めませんでした。"
    yield "balloon-layer-bigger-than-balloon", {"Scripts/a.func": MOTION + start() + BUBBLE + block(
        "BALLOON_IMAGE_LAYER_REG", ["FuncName = star", "ImageName = star.png", "Width = 40", "Height = 24"],
        ["0, 0, 0, 0, 1"]) + say("FuncNameImageLayer = star"), "Images/star.png": png(40, 24)}, \
        "{F}のsayのFuncNameImageLayerにこの関数の画像サイズを超える値が設定がされています。"
    yield "font-size-not-a-number", {"Scripts/a.func": MOTION + start() + block(
        "TEXT_STYLE_REG", ["FuncName = style", "FontSize = big"])}, "{F}のstyleに不正な数値が設定されています。"
    yield "speed-negative", {"Scripts/a.func": MOTION + start() + block(
        "TEXT_STYLE_REG", ["FuncName = style", "Speed = -1"])}, "{F}のstyleに不正な数値が設定されています。"
    yield "about-image-missing", {"config.ini": "DlgImageName=about.png\n"}, "{F}のabout.pngを読み込めませんでした。"
    yield "about-image-too-big", {"config.ini": "DlgImageName=about.png\n", "Images/about.png": png(401, 201)}, \
        "{F}のバージョン情報用の画像サイズが最大サイズを超えています。"
    yield "sound-loop-divides-by-zero", {"Scripts/a.func": MOTION + start("SoundLoop = 1 / 0")}, \
        "{F}のstartで0除算がされています。"
    yield "fault-in-a-nested-file", {"Scripts/deep/er/b.func": block(
        "ORDER_REG", ["FuncName = lost", "FuncNameMotion = stand"])}, "{F}のlostに不正なFuncTypeが設定されています。"
    yield "fault-in-an-upper-case-file", {"Scripts/B.FUNC": block(
        "ORDER_REG", ["FuncName = loud", "FuncType = NONE_EVENT", "FuncNameMotion = stand", "FuncListTimer = nobody"])}, \
        "{F}のloudのFuncListTimerに存在しない関数nobodyが指定されています。"


def write(folder, files):
    base = {"config.ini": "", "Scripts/a.func": MOTION + start(), "Images/body.png": png(32, 16),
            "Images/bubble.png": png(40, 20)}
    base.update(files)
    for path, content in base.items():
        if content is None:
            continue
        target = os.path.join(folder, *path.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(content if isinstance(content, bytes) else content.encode("utf-8"))
    if not any(path.startswith("Scripts/") and content is not None for path, content in base.items()):
        shutil.rmtree(os.path.join(folder, "Scripts"), ignore_errors=True)


def main():
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(OUT)
    lines = []
    for number, (name, files, message) in enumerate(cases(), 1):
        folder = f"B{number:02d}-{name}"
        write(os.path.join(OUT, folder), files)
        lines.append(f"{folder}\t{message.replace('{F}', folder)}")
    with open(os.path.join(OUT, "expected.tsv"), "w", encoding="utf-8") as out:
        out.write("# folder<TAB>the message the program shows for it (caption エラー); made by "
                  "scripts/make_broken_characters.py\n" + "\n".join(lines) + "\n")
    print(f"{len(lines)} broken characters in {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
