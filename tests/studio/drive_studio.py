"""orvane-studio under Xvfb, driven with xdotool's keys and wheel as a user drives it. Each saved
picture is compared with the orvane module's capture of the same settings on a fresh camera."""

import os
import pathlib
import subprocess
import sys
import tempfile
import time

import orvane
from PIL import Image, ImageGrab

PROFILE = {"brightness": 150, "mirror": 1, "contrast": 40}
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(condition, seconds=15.0):
    end = time.monotonic() + seconds
    while not condition() and time.monotonic() < end:
        time.sleep(0.05)
    return condition()


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def reference(settings, registers=()):
    with orvane.Camera("sim:reference") as camera:
        camera.set(settings)
        for address, value in registers:
            camera.write_register(address, value)
        return camera.capture(raw=True).tobytes()


class Studio:
    def __init__(self, root, *args, env=None):
        self.work = root / "work"
        self.work.mkdir(exist_ok=True)
        environment = dict(os.environ, XDG_CONFIG_HOME=str(root / "config"), **(env or {}))
        self.process = subprocess.Popen([os.environ["ORVANE_STUDIO"], *args], cwd=self.work,
                                        env=environment)
        assert wait_for(self.windows), "the studio's window did not appear"
        self.window = self.windows()[0]
        time.sleep(0.8)  # the first frames

    def windows(self, name="^Orvane Studio$"):
        return xdotool("search", "--onlyvisible", "--pid", str(self.process.pid), "--name",
                       name).split()

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
        """The raw bytes of a Ctrl+S snapshot, asked again while no frame has come yet."""
        before = set(self.work.glob("snapshot-*.raw"))
        for _ in range(5):
            self.keys("ctrl+s")
            if wait_for(lambda: set(self.work.glob("snapshot-*.raw")) - before, 3):
                break
        (path,) = set(self.work.glob("snapshot-*.raw")) - before
        return path.read_bytes()

    def quit(self, what):
        self.keys("ctrl+q")
        check(self.process.wait(timeout=20) == 0, "the studio ends cleanly after " + what)


def settings_survive_and_reset_keeps_them(root):
    profile = root / "look.txt"
    profile.write_text("".join(f"{name} = {value}\n" for name, value in PROFILE.items()))
    want = reference(PROFILE)
    studio = Studio(root, "--defaults")
    studio.keys("ctrl+o")
    studio.dialog("^Open settings$", str(profile))
    titled = [w for w in studio.windows("") if xdotool("getwindowname", w).strip()]
    check(titled == [studio.window], "a profile loads with no message box")
    check(studio.snapshot() == want, "the loaded profile is live")
    studio.quit("loading a profile")

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
    wait_for(lambda: len(list(root.glob("recording/*/*.png"))) >= 20, 30)
    time.sleep(1.0)
    files = sorted(root.glob("recording/*/*"))
    check(len(files) == 60, "a 20-frame recording leaves a picture, raw bytes and sidecar a frame")
    whole = []
    for picture in sorted(root.glob("recording/*/*.png")):
        with Image.open(picture) as image:
            image.load()
            whole.append(image.size == (312, 208)
                         and "brightness = 64" in picture.with_suffix(".txt").read_text()
                         and len(picture.with_suffix(".raw").read_bytes()) == len(want))
    check(len(whole) == 20 and all(whole), "every recorded frame is complete, with its settings")
    studio.quit("recording")


def zoom_keeps_the_pixel_under_the_pointer(root):
    # A scene whose colour says where each pixel is: red across, green down.
    scene = root / "gradient.ppm"
    scene.write_bytes(b"P6 640 480 255\n" + bytes(
        value for y in range(480) for x in range(640) for value in (x * 255 // 639,
                                                                    y * 255 // 479, 96)))
    studio = Studio(root, "--defaults", env={"ORVANE_SCENE": str(scene)})
    xdotool("mousemove", "--window", studio.window, "300", "320")
    time.sleep(0.5)
    location = dict(line.split("=") for line in xdotool("getmouselocation", "--shell").split())
    pointer = (int(location["X"]), int(location["Y"]))
    aside = (pointer[0] + 150, pointer[1])
    before = ImageGrab.grab(xdisplay=os.environ["DISPLAY"])
    for _ in range(3):
        xdotool("click", "4")  # the wheel, one notch up
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
    studio.quit("zooming")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="orvane-drive-") as folder:
        for name, drive in (("bench", settings_survive_and_reset_keeps_them),
                            ("zoom", zoom_keeps_the_pixel_under_the_pointer)):
            (pathlib.Path(folder) / name).mkdir()
            drive(pathlib.Path(folder) / name)
    print(f"{len(failures)} checks failed" if failures else "every check passed")
    sys.exit(1 if failures else 0)
