"""orvane-studio driven under Xvfb with xdotool, keys and wheel as a user gives them.

Every picture the studio saves is compared with a capture of the same settings through the orvane
module on a fresh simulated camera, so a check fails when a setting is lost, a Reset leaves
another picture or an edit does not reach the sensor.
"""

import os
import pathlib
import subprocess
import sys
import tempfile
import time

import orvane
from PIL import Image, ImageGrab

STUDIO = os.environ["ORVANE_STUDIO"]
PROFILE = {"brightness": 150, "mirror": 1, "contrast": 40}
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(condition, seconds=15.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(0.05)
    return condition()


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout


def reference(settings, registers=()):
    """The raw frame a fresh camera gives with these settings."""
    with orvane.Camera("sim") as camera:
        camera.set(settings)
        for address, value in registers:
            camera.write_register(address, value)
        return camera.capture(raw=True).tobytes()


class Studio:
    def __init__(self, root, *args, env=None):
        self.work = root / "work"
        self.work.mkdir(parents=True, exist_ok=True)
        environment = dict(os.environ, XDG_CONFIG_HOME=str(root / "config"), **(env or {}))
        self.process = subprocess.Popen([STUDIO, *args], cwd=self.work, env=environment)
        found = wait_for(lambda: self.windows())
        assert found, "the studio's window did not appear"
        self.window = self.windows()[0]
        time.sleep(0.8)  # the first frames

    def windows(self, name="^Orvane Studio$"):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid), "--name", name],
                               capture_output=True, text=True).stdout.split()
        return found

    def keys(self, *keys):
        # Without a window manager the focus goes back to the main window by hand.
        xdotool("windowfocus", "--sync", self.window)
        for key in keys:
            xdotool("key", key)
            time.sleep(0.15)

    def dialog(self, name, text):
        assert wait_for(lambda: self.windows(name)), name + " did not open"
        time.sleep(0.5)  # mapped, then given the focus
        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", "10", text)
        xdotool("key", "Return")
        wait_for(lambda: not self.windows(name))
        time.sleep(0.5)

    def snapshot(self):
        """The raw bytes of a Ctrl+S snapshot; asked again while no frame has come yet."""
        before = set(self.work.glob("snapshot-*.raw"))
        for _ in range(5):
            self.keys("ctrl+s")
            if wait_for(lambda: set(self.work.glob("snapshot-*.raw")) - before, 3):
                break
        (path,) = set(self.work.glob("snapshot-*.raw")) - before
        return path.read_bytes()

    def quit(self):
        self.keys("ctrl+q")
        return self.process.wait(timeout=20)


def settings_survive_and_reset_keeps_them(root):
    profile = root / "look.txt"
    profile.write_text("".join(f"{name} = {value}\n" for name, value in PROFILE.items()))
    want = reference(PROFILE)
    studio = Studio(root, "--defaults")
    studio.keys("ctrl+o")
    studio.dialog("^Open settings$", str(profile))
    time.sleep(0.5)
    boxes = [w for w in studio.windows("") if w != studio.window and xdotool("getwindowname", w).strip()]
    check(not boxes, "a profile loads with no message box")
    check(studio.snapshot() == want, "the loaded profile is live")
    check(studio.quit() == 0, "the studio ends cleanly")

    trace = root / "trace.txt"
    studio = Studio(root, "--trace", str(trace))
    check(studio.snapshot() == want, "after a restart the same settings are live")
    studio.keys("alt+c", "s")  # Camera > Reset
    time.sleep(0.5)
    check(studio.snapshot() == want, "Reset then a frame equals a fresh start's frame")

    # View > Registers, down to brightness's row, a new value typed over the old.
    with orvane.Camera("sim") as camera:
        row = [register.address for register in camera.registers].index(0x06)
    studio.keys("alt+v", "r", *["Down"] * row)
    xdotool("type", "--delay", "20", "0x40")
    studio.keys("Return")
    time.sleep(0.5)
    check(studio.snapshot() == reference(PROFILE, [(0x06, 0x40)]),
          "a register edited in the inspector reaches the sensor")
    # The bus carries sub-address and data inverted.
    check("slaveID2=bd, subADD2=f9,data2=bf" in trace.read_text(),
          "the edited register's write is on the wire")

    studio.keys("ctrl+r")
    studio.dialog("^Record$", str(root / "recording"))
    def pictures():
        return sorted((root / "recording").rglob("*.png"))

    wait_for(lambda: len(pictures()) >= 20, 30)
    time.sleep(1.0)
    check(len(pictures()) == 20, "a 20-frame recording stops at 20 pictures")
    files = sorted(path.name for path in (root / "recording").rglob("*") if path.is_file())
    check(len(files) == 60, "each frame has its picture, raw bytes and sidecar, nothing else")
    for picture in pictures():
        with Image.open(picture) as image:
            image.load()
            whole = image.size == (312, 208)
        sidecar = picture.with_suffix(".txt").read_text()
        raw = picture.with_suffix(".raw").read_bytes()
        if not (whole and "brightness = 64" in sidecar and len(raw) == len(want)):
            check(False, f"{picture.name} is a complete frame with its settings")
            break
    else:
        check(True, "every recorded frame is complete, with its settings")
    check(studio.quit() == 0, "the studio ends cleanly after recording")


def zoom_keeps_the_pixel_under_the_pointer(root):
    # A scene whose colour says where each pixel is: red across, green down.
    scene = root / "gradient.ppm"
    width, height = 640, 480
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            pixels += bytes((x * 255 // (width - 1), y * 255 // (height - 1), 96))
    scene.write_bytes(b"P6 %d %d 255\n" % (width, height) + pixels)
    studio = Studio(root, "--defaults", env={"ORVANE_SCENE": str(scene)})
    xdotool("mousemove", "--window", studio.window, "300", "320")
    time.sleep(0.5)
    location = dict(line.split("=") for line in xdotool("getmouselocation", "--shell").split())
    pointer = (int(location["X"]), int(location["Y"]))
    aside = (pointer[0] + 150, pointer[1])
    before = ImageGrab.grab(xdisplay=os.environ["DISPLAY"])
    for _ in range(3):
        xdotool("click", "4")
        time.sleep(0.1)
    time.sleep(0.6)
    after = ImageGrab.grab(xdisplay=os.environ["DISPLAY"])
    def near(a, b, limit):
        return all(abs(p - q) <= limit for p, q in zip(a, b))

    print(f"at the pointer {before.getpixel(pointer)} -> {after.getpixel(pointer)}, "
          f"aside {before.getpixel(aside)} -> {after.getpixel(aside)}")
    check(not near(before.getpixel(aside), after.getpixel(aside), 20), "the wheel zooms")
    check(near(before.getpixel(pointer), after.getpixel(pointer), 8),
          "zoom at the pointer keeps the pixel under the pointer fixed")
    check(studio.quit() == 0, "the studio ends cleanly after zooming")


def main():
    with tempfile.TemporaryDirectory(prefix="orvane-drive-") as folder:
        for check_of, name in ((settings_survive_and_reset_keeps_them, "bench"),
                               (zoom_keeps_the_pixel_under_the_pointer, "zoom")):
            root = pathlib.Path(folder) / name
            root.mkdir()
            check_of(root)
    if failures:
        print(f"{len(failures)} checks failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
