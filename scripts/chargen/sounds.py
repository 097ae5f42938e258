"""The demo characters' sounds, made with sox (tones, noise, envelopes) and espeak-ng
(speech), written as 22 050 Hz mono 16-bit PCM WAV files."""
import os
import subprocess
import tempfile

RATE = "22050"


def sox(out, inputs, effects):
    os.makedirs(os.path.dirname(out), exist_ok=True)
    subprocess.run(["sox", *inputs, "-r", RATE, "-c", "1", "-b", "16", "-e", "signed-integer", out, *effects],
                   check=True)


def tone(out, length, synth, effects=()):
    """A synthesised sound: `synth` is sox's synth arguments after the length."""
    sox(out, ["-n"], ["synth", str(length), *synth, *effects])


def melody(out, notes, step):
    """Notes one after the other, each `step` seconds of a plucked tone, joined."""
    with tempfile.TemporaryDirectory() as folder:
        parts = []
        for i, note in enumerate(notes):
            part = os.path.join(folder, f"{i}.wav")
            tone(part, step, ["pluck", note], ["fade", "0", str(step), str(step * 0.6), "gain", "-8"])
            parts.append(part)
        os.makedirs(os.path.dirname(out), exist_ok=True)
        subprocess.run(["sox", *parts, "-r", RATE, "-c", "1", "-b", "16", out], check=True)


def speech(out, text, voice="en-us", pitch=70, speed=150):
    with tempfile.TemporaryDirectory() as folder:
        raw = os.path.join(folder, "speech.wav")
        subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-w", raw, text], check=True)
        sox(out, [raw], ["gain", "-n", "-3"])


def make_all(root):
    hopper = os.path.join(root, "Hopper", "Sounds")
    walker = os.path.join(root, "Walker", "Sounds")
    tone(os.path.join(hopper, "boing.wav"), 0.25, ["sine", "220-660"], ["fade", "0", "0.25", "0.1", "gain", "-6"])
    tone(os.path.join(hopper, "blip.wav"), 0.08, ["square", "880"], ["fade", "0", "0.08", "0.03", "gain", "-14"])
    tone(os.path.join(hopper, "step.wav"), 0.05, ["brownnoise"], ["fade", "0", "0.05", "0.04", "gain", "-6"])
    tone(os.path.join(hopper, "thump.wav"), 0.18, ["sine", "120-50"], ["fade", "0", "0.18", "0.12", "gain", "-2"])
    tone(os.path.join(hopper, "pop.wav"), 0.06, ["sine", "600-1400"], ["fade", "0", "0.06", "0.03", "gain", "-8"])
    tone(os.path.join(hopper, "poof.wav"), 0.4, ["pinknoise"], ["fade", "0.05", "0.4", "0.3", "gain", "-10"])
    melody(os.path.join(hopper, "dance.wav"), ["C4", "E4", "G4", "E4", "F4", "A4", "G4", "E4"], 0.2)
    speech(os.path.join(hopper, "hello.wav"), "Hello! I'm Hopper!", pitch=75)
    speech(os.path.join(hopper, "hi.wav"), "Hi, Walker!", pitch=80, speed=170)
    speech(os.path.join(hopper, "giggle.wav"), "hee hee hee", pitch=95, speed=200)
    tone(os.path.join(walker, "chirp.wav"), 0.12, ["sine", "1800-2600"], ["fade", "0", "0.12", "0.05", "gain", "-8"])
    tone(os.path.join(walker, "blip.wav"), 0.08, ["square", "660"], ["fade", "0", "0.08", "0.03", "gain", "-14"])
    tone(os.path.join(walker, "hop.wav"), 0.15, ["sine", "400-900"], ["fade", "0", "0.15", "0.08", "gain", "-8"])
    tone(os.path.join(walker, "pop.wav"), 0.06, ["sine", "900-1800"], ["fade", "0", "0.06", "0.03", "gain", "-8"])
    speech(os.path.join(walker, "see-you.wav"), "See you!", pitch=60)
