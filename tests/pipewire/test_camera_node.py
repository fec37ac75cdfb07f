"""orvane-pipewire as desktop programs meet it, on a PipeWire and WirePlumber of the test's own."""
import json
import os
import pathlib
import shutil
import signal
import subprocess
import tempfile
import threading
import time

import numpy as np
import pytest
from PIL import Image

import orvane

PROFILE = "contrast = 40\nbrightness = 150\n"
PANEL_SETTINGS = "move Contrast 40\nmove Brightness 150\n"


def wait_for(condition, what, seconds=10):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            pytest.fail(f"no {what} after {seconds} s")
        time.sleep(0.05)


@pytest.fixture(scope="module")
def pipewire():
    """A private pipewire and wireplumber, stopped and removed at the end."""
    runtime = tempfile.mkdtemp(prefix="orvane-pipewire-")
    os.environ["XDG_RUNTIME_DIR"] = runtime
    os.environ.pop("PIPEWIRE_REMOTE", None)
    daemons = [subprocess.Popen([name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
               for name in ("pipewire", "wireplumber")]
    try:
        wait_for(lambda: subprocess.run(["pw-cli", "info", "0"], capture_output=True).returncode == 0,
                 "PipeWire")
        yield runtime
    finally:
        for daemon in reversed(daemons):
            daemon.terminate()
            daemon.wait(10)
        shutil.rmtree(runtime)


class Node:
    """orvane-pipewire on the reference module with a profile, and what it says."""

    def __init__(self, tmp):
        (tmp / "profile.txt").write_text(PROFILE)
        self.process = subprocess.Popen(
            [os.environ["ORVANE_PIPEWIRE"], "--device", "sim:reference", "--profile",
             str(tmp / "profile.txt")], stderr=subprocess.PIPE, text=True)
        self.lines = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        try:
            wait_for(lambda: any("is offered as" in line for line in self.lines), "node")
        except BaseException:
            self.process.kill()
            raise
        self.id = self.dump()["id"]

    def _read(self):
        for line in self.process.stderr:
            self.lines.append(line.rstrip("\n"))

    def dump(self):
        out = subprocess.run(["pw-dump", "orvane-camera"], capture_output=True, check=True).stdout
        return json.loads(out)[0]

    def props(self):
        return self.dump()["info"]["params"]["Props"][0]

    def set_props(self, text):
        subprocess.run(["pw-cli", "set-param", str(self.id), "Props", text], check=True,
                       stdout=subprocess.DEVNULL)

    def said(self, text):
        return sum(text in line for line in self.lines)


@pytest.fixture(scope="module")
def node(pipewire, tmp_path_factory):
    node = Node(tmp_path_factory.mktemp("node"))
    yield node
    # SIGTERM ends it at once and cleanly, the camera closed.
    node.process.send_signal(signal.SIGTERM)
    assert node.process.wait(5) == 0
    node.reader.join(5)
    assert node.said("the camera runs on") == node.said("the camera rests")


def consume(tmp_path, caps, count, name="frame"):
    """A pipewiresrc consumer of count frames, each into a file of its own."""
    subprocess.run(["gst-launch-1.0", "-q", "pipewiresrc", "target-object=orvane-camera",
                    f"num-buffers={count}", "!", caps, "!", "multifilesink",
                    f"location={tmp_path}/{name}-%02d"], check=True, timeout=60)
    return [(tmp_path / f"{name}-{i:02d}").read_bytes() for i in range(count)]


def panel_upload(tmp_path, script):
    """The panel's testfile.bmp (as RGB bytes) and test.raw after orvane-cli runs script."""
    shutil.copy(os.environ["ORVANE_BMPHEAD24"], tmp_path / "bmphead24")
    subprocess.run([os.environ["ORVANE_CLI"]], input=script, text=True, cwd=tmp_path, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env={**os.environ, "ORVANE_PORT": "sim:reference"})
    picture = Image.open(tmp_path / "testfile.bmp").convert("RGB")
    return picture, (tmp_path / "test.raw").read_bytes()


def test_the_node_is_a_camera_with_every_control(node):
    status = subprocess.run(["wpctl", "status"], capture_output=True, text=True).stdout
    sources = status[status.index("Video"):].split("Sources:")[1].split("Source endpoints")[0]
    assert "Orvane camera (simulated module)" in sources
    info = node.dump()["info"]
    assert info["props"]["media.class"] == "Video/Source"
    assert info["props"]["media.role"] == "Camera"
    found = {p["name"]: p for p in info["params"]["PropInfo"]}
    controls = orvane.Camera("sim:reference").controls
    assert list(found) == [c.name for c in controls]
    for control in controls:
        kind = found[control.name]["type"]
        if control.kind == "integer":
            assert (kind["default"], kind["min"], kind["max"]) == (
                control.default, control.minimum, control.maximum), control.name
        elif control.kind == "menu":
            labels = found[control.name]["labels"]
            assert dict(zip(labels[1::2], labels[0::2])).items() <= control.choices.items()
        else:
            assert kind["default"] == bool(control.default)
    # The profile is in force.
    assert (node.props()["brightness"], node.props()["contrast"]) == (150, 40)


@pytest.mark.parametrize("caps, script, size", [
    ("video/x-raw,format=RGB", "", (312, 208)),
    ("video/x-raw,format=YUY2,width=176,height=144", "click QCIF\n", (176, 144)),
])
def test_a_consumers_first_frame_is_the_panels_upload(node, tmp_path, caps, script, size):
    frame, = consume(tmp_path, caps, 1)
    picture, raw = panel_upload(
        tmp_path, PANEL_SETTINGS + script + "press &Set Register\npress &Upload\n")
    assert picture.size == size
    width, height = size
    if "RGB" in caps:
        assert frame == picture.tobytes()
        return
    # YUY2 is the panel's picture in BT.601's limited range, as programs read it back.
    yuyv = np.frombuffer(frame, np.uint8).reshape(height, width // 2, 4).astype(float)
    y = (yuyv[:, :, [0, 2]].reshape(height, width) - 16) * 255 / 219
    u, v = (np.repeat(yuyv[:, :, i] - 128, 2, axis=1) * 255 / 224 for i in (1, 3))
    shown = np.stack([y + 1.402 * v, y - 0.344 * u - 0.714 * v, y + 1.772 * u], axis=2)
    error = np.abs(np.clip(shown, 0, 255) - np.asarray(picture, float)).mean()
    assert error < 3, f"YUY2 shows the picture {error:.1f} off on average"


def test_props_apply_before_the_next_frame_and_refusals_keep_the_value(node, tmp_path):
    consumer = threading.Thread(
        target=lambda: consume(tmp_path, "video/x-raw,format=RGB,width=312,height=208", 24))
    consumer.start()
    wait_for(lambda: (tmp_path / "frame-04").exists(), "frames")
    node.set_props("{ brightness: 220 }")
    # A size the consumer did not agree to, a value outside the range and what is no control's
    # are refused, and said.
    node.set_props('{ params = [ "size" 1 "window-h-start" 999 ] }')
    node.set_props('{ params = [ 5 5 ], brightness: "y", 12345: 1 }')
    consumer.join()
    means = [np.frombuffer((tmp_path / f"frame-{i:02d}").read_bytes(), np.uint8).mean()
             for i in range(24)]
    first, last = means[0], means[-1]
    assert last > first + 20
    assert all(mean in (first, last) for mean in means), "a frame between the two settings"
    names = [c.name for c in orvane.Camera("sim:reference").controls]
    props = node.props()
    assert (props["brightness"], props[f"id-{0x1000000 + names.index('size'):08x}"],
            props[f"id-{0x1000000 + names.index('window-h-start'):08x}"]) == (220, 0, 56)
    assert node.said("size 1 is refused: that would change the frames from 312x208 to 176x144")
    assert node.said("window-h-start 999 is refused") and node.said("it stays 56")
    assert node.said("property 12345 is none of the camera's controls")


def test_the_camera_runs_only_while_a_consumer_takes_frames(node, tmp_path):
    # A consumer killed while it streams, then one that ends: the camera rests after each.
    for killed in (True, False):
        wait_for(lambda: node.said("the camera runs on") == node.said("the camera rests"), "rest")
        before = node.said("the camera rests")
        if killed:
            consumer = subprocess.Popen(["gst-launch-1.0", "-q", "pipewiresrc",
                                         "target-object=orvane-camera", "!", "video/x-raw", "!",
                                         "fakesink"])
            wait_for(lambda: node.said("the camera runs on") > before, "a running camera")
            time.sleep(0.3)
            consumer.kill()
            consumer.wait()
        else:
            consume(tmp_path, "video/x-raw,format=RGB", 2)
        wait_for(lambda: node.said("the camera rests") == before + 1, "rest")
        assert node.said("the camera runs on") == node.said("the camera rests")


def test_a_device_that_cannot_be_opened_is_said_with_advice():
    run = subprocess.run([os.environ["ORVANE_PIPEWIRE"], "--device", "lpt9"], capture_output=True,
                         text=True, timeout=10)
    assert run.returncode == 1 and "accepted values" in run.stderr

