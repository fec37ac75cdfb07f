"""The orvane module through its public face, against the panel's own files."""
import ast
import os
import pathlib
import re
import subprocess
import sys
import threading
import time

import numpy as np
import pytest
from PIL import Image

import orvane

ROOT = pathlib.Path(__file__).resolve().parents[2]


def panel_upload(tmp_path, script):
    """The panel's testfile.bmp (as RGB rows) and test.raw after orvane-cli runs script."""
    (tmp_path / "bmphead24").write_bytes(pathlib.Path(os.environ["ORVANE_BMPHEAD24"]).read_bytes())
    subprocess.run([os.environ["ORVANE_CLI"]], input=script, text=True, cwd=tmp_path, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env={**os.environ, "ORVANE_PORT": "sim:reference"})
    picture = np.asarray(Image.open(tmp_path / "testfile.bmp").convert("RGB"))
    return picture, (tmp_path / "test.raw").read_bytes()


def test_a_dng_still_is_the_mosaic_as_dcraw_reads_it(tmp_path):
    with orvane.Camera("sim:reference") as cam:
        cam.set(format="rgb")
        mosaic = cam.write_dng(tmp_path / "still.dng")
    raw = subprocess.run(["dcraw", "-c", "-D", "-4", "-t", "0", str(tmp_path / "still.dng")],
                         capture_output=True, check=True).stdout
    assert mosaic.dtype == np.uint8 and mosaic.shape == (312, 416)
    np.testing.assert_array_equal(np.frombuffer(raw[-mosaic.size * 2:], ">u2").reshape(mosaic.shape), mosaic)


@pytest.mark.parametrize("script, settings", [
    ("move Contrast 40\nmove Brightness 150\npress &Set Register\npress &Upload\n",
     dict(contrast=40, brightness=150)),
    ("click &RGB\nclick QCIF\nclick Mirror/Enable\npress Set Register\npress Upload\n",
     dict(format="rgb", size="qcif", mirror=True)),
])
def test_a_capture_is_the_panels_upload(tmp_path, script, settings):
    picture, raw = panel_upload(tmp_path, script)
    with orvane.Camera("sim:reference") as cam:
        cam.set(**settings)
        frame, read = cam.capture(), cam.capture(raw=True)
        # Into a view of a larger array, rows apart by its stride.
        canvas = np.zeros((300, 700, 3), np.uint8)
        view = canvas[5:5 + frame.shape[0], 7:7 + frame.shape[1]]
        assert cam.capture(out=view) is view
        again, info = cam.capture(info=True)
    assert (info.sequence, info.width, info.height) == (4, picture.shape[1], picture.shape[0])
    np.testing.assert_array_equal(again, picture)
    assert frame.dtype == np.uint8 and frame.shape == picture.shape
    np.testing.assert_array_equal(frame, picture)
    np.testing.assert_array_equal(view, picture)
    assert canvas.sum() == view.sum()
    assert read.tobytes() == raw and read.shape[0] == picture.shape[0]


def test_out_of_range_names_the_range_and_changes_nothing():
    with orvane.Camera() as cam:
        cam.set(brightness=140)
        with pytest.raises(orvane.OutOfRangeError, match="^64 is outside the range: blue-bias takes 0 to 63$") as error:
            cam.set(brightness=150, blue_bias=64)
        assert (error.value.control, error.value.minimum, error.value.maximum) == ("blue-bias", 0, 63)
        assert cam["brightness"] == 140 and cam.registers["brightness"] == 140


ERRORS = [
    (lambda cam: orvane.Camera("lpt9"), orvane.PortError, OSError, "accepted values"),
    (lambda cam: cam.set(nope=1), orvane.UnknownControlError, KeyError, 'no control is named "nope"'),
    (lambda cam: cam["nope"], orvane.UnknownControlError, KeyError, 'no control is named "nope"'),
    (lambda cam: cam.set(brightness=2**70), orvane.OutOfRangeError, ValueError, f"^{2**70} is outside"),
    (lambda cam: cam.set(size="huge"), orvane.OutOfRangeError, ValueError, r"size takes 0 \(cif\)"),
    (lambda cam: cam.set(brightness=1.5), TypeError, TypeError, "whole number"),
    (lambda cam: cam.write_register(0x06, 256), orvane.InvalidArgumentError, ValueError, "0 to 255"),
    (lambda cam: cam.registers[0x7F], orvane.InvalidArgumentError, ValueError, ""),
    (lambda cam: cam.capture(out=np.zeros((10, 10, 3), np.uint8)), orvane.DoesNotFitError, ValueError,
     r"needs \(208, 312, 3\)"),
    (lambda cam: cam.capture(out=np.zeros((208, 312, 3), np.float32)), TypeError, TypeError, "uint8"),
    (lambda cam: (cam.close(), cam.capture()), orvane.ClosedError, ValueError, "closed"),
    (lambda cam: cam.write_register(2**70, 1), IndexError, IndexError, f"^register number {2**70} is outside"),
    (lambda cam: cam.registers[-1], IndexError, IndexError, "^register number -1 is outside"),
    (lambda cam: cam.write_register(6, 2**40), orvane.InvalidArgumentError, ValueError, f"value {2**40} is"),
    (lambda cam: cam.set(brightness=True), TypeError, TypeError, "brightness takes a whole number, not True"),
    (lambda cam: cam.set(5), TypeError, TypeError, "mapping"),
    (lambda cam: cam.set({"bright\0ness": 1}), ValueError, ValueError, "NUL"),
    (lambda cam: orvane.Camera("sim\0"), orvane.InvalidArgumentError, ValueError, "NUL"),
    (lambda cam: orvane.Camera(scene=b"/no/such.ppm"), orvane.FileError, OSError, '^scene "/no/such.ppm"'),
    (lambda cam: cam.capture(out=np.zeros((208, 624, 3), np.uint8)[:, ::2]), orvane.DoesNotFitError,
     ValueError, "not side by side"),
    (lambda cam: cam.write_dng("/nonexistent/still.dng"), orvane.InvalidArgumentError, ValueError,
     "only in the rgb format"),
]


@pytest.mark.parametrize("call, kind, builtin, text", ERRORS)
def test_errors_are_exceptions_of_their_kind(call, kind, builtin, text):
    with orvane.Camera() as cam:
        with pytest.raises(kind, match=text) as error:
            call(cam)
    assert isinstance(error.value, builtin)
    assert isinstance(error.value, orvane.Error) == issubclass(kind, orvane.Error)


def test_reset_brings_every_control_and_register_back():
    with orvane.Camera() as fresh, orvane.Camera() as cam:
        cam.set({"blue-bias": 10}, format="rgb", size="qcif")
        cam.write_register(0x06, 0x20)
        fresh.reset()
        cam.reset()
        assert cam.controls.values() == {c.name: c.default for c in cam.controls}
        assert {c.display for c in cam.controls if c.group == "Window"} == {"number"}
        assert [(r.value, r.pending) for r in cam.registers] == [(r.value, r.pending) for r in fresh.registers]
        assert cam.registers["brightness"] == 0x80


def resident_kib():
    return int(pathlib.Path("/proc/self/statm").read_text().split()[1]) * os.sysconf("SC_PAGE_SIZE") // 1024


def test_a_thousand_captures_keep_memory_flat():
    with orvane.Camera() as cam:
        for _ in range(100):
            cam.capture()
        before = resident_kib()
        for _ in range(1000):
            cam.capture()
        assert resident_kib() - before < 1024


def test_another_thread_runs_while_a_capture_is_in_progress():
    interval = sys.getswitchinterval()
    # Threads then change only where one lets the GIL go: the capture, and the sleep below.
    sys.setswitchinterval(1000)
    try:
        with orvane.Camera() as cam:
            cam.set(format="rgb", window_v_end=245)  # the largest frame
            spans, ticks = [], []

            def capture():
                for _ in range(20):
                    start = time.perf_counter()
                    cam.capture()
                    spans.append((start, time.perf_counter()))

            worker = threading.Thread(target=capture)
            worker.start()
            while worker.is_alive():
                ticks.append(time.perf_counter())
                time.sleep(0)
            worker.join()
    finally:
        sys.setswitchinterval(interval)
    busy = sum(any(start < tick < end for tick in ticks) for start, end in spans)
    assert len(spans) == 20 and busy >= 10


def test_the_type_stubs_name_what_the_module_has():
    stubs = ast.parse((pathlib.Path(orvane.__file__).parent / "orvane.pyi").read_text())
    classes = {node.name: node for node in stubs.body if isinstance(node, ast.ClassDef)}
    assert set(classes) == {name for name in dir(orvane) if not name.startswith("_")}
    for name, node in classes.items():
        cls = getattr(orvane, name)
        if issubclass(cls, BaseException):
            assert [ast.unparse(base) for base in node.bases] == [b.__name__ for b in cls.__bases__]
            continue
        members = {item.name for item in node.body if isinstance(item, ast.FunctionDef)}
        assert {m for m in members if not m.startswith("_")} == {
            m for m in dir(cls) if not m.startswith("_")}, name


def test_the_example_sweeps_brightness_into_pngs(tmp_path):
    result = subprocess.run([sys.executable, str(ROOT / "examples/python/brightness_sweep.py"), str(tmp_path)],
                            capture_output=True, text=True, check=True)
    assert "mean R" in result.stdout
    greens = [np.asarray(Image.open(path))[..., 1].mean() for path in sorted(tmp_path.glob("brightness-*.png"))]
    assert len(greens) == 5 and greens == sorted(greens) and greens[0] < greens[-1]


def test_the_photon_transfer_example_finds_the_sensors_constants():
    result = subprocess.run([sys.executable, str(ROOT / "examples/python/photon_transfer.py")],
                            capture_output=True, text=True, check=True)
    gain, noise = (float(word) for word in re.findall(r"[\d.]+", result.stdout.splitlines()[-1]))
    assert gain == pytest.approx(0.01416 * 15.5 * 224 / 1023, rel=0.05) and noise == pytest.approx(15, rel=0.1)


CHART = [(115, 82, 68), (194, 150, 130), (98, 122, 157), (87, 108, 67), (133, 128, 177), (103, 189, 170),
         (214, 126, 44), (80, 91, 166), (193, 90, 99), (94, 60, 108), (157, 188, 64), (224, 163, 46),
         (56, 61, 150), (70, 148, 73), (175, 54, 60), (231, 199, 31), (187, 86, 149), (8, 133, 161),
         (243, 243, 242), (200, 200, 200), (160, 160, 160), (122, 122, 121), (85, 85, 85), (52, 52, 52)]


def test_the_built_in_charts_show_their_reference_colours_and_a_slanted_edge():
    with orvane.Camera("sim:scene=chart,reference") as cam:
        cam.set(saturation=128, format="rgb")  # the mosaic keeps the scene's colours exactly
        frame = cam.capture().astype(int)
    across, down = frame.shape[1] / 640, frame.shape[0] / 480
    for i, colour in enumerate(CHART):
        x, y = (20 + (i % 6) * 102 + 45) * across, (22 + (i // 6) * 112 + 50) * down
        mean = frame[int(y) - 2:int(y) + 3, int(x) - 2:int(x) + 3].reshape(-1, 3).mean(axis=0)
        assert np.abs(mean - colour).max() <= 2, (i, mean, colour)
    with orvane.Camera("sim:scene=edge") as cam:
        grey = cam.capture()[..., 1].astype(int)
    crossing = [np.argmax(row > 125) for row in grey]  # the first light pixel of each row
    lean = 480 * np.tan(np.radians(5)) * grey.shape[1] / 640  # in frame columns, top to bottom
    assert crossing[0] - crossing[-1] == pytest.approx(lean, abs=2)


def test_the_moving_scene_moves_on_the_sensors_own_clock_the_same_at_any_pace_noise_included():
    def frames(prescaler, pace=""):
        with orvane.Camera("sim:scene=moving,seed=5", pace=pace) as cam:
            cam.set(clock_prescaler=prescaler)
            return [cam.capture() for _ in range(4)]

    def steps(captured):  # how far the yellow disc moved from frame to frame, in columns
        return np.diff([np.nonzero(f[..., 0].astype(int) - f[..., 2] > 60)[1].mean() for f in captured])

    fast, slow = frames(0), frames(2)
    assert all(steps(fast) > 0) and steps(fast)[-1] == pytest.approx(3 * steps(slow)[-1], rel=0.2)
    assert all((a == b).all() for a, b in zip(fast, frames(0, pace="0.01")))


def test_a_frame_from_nothing_raises_no_signal_with_the_frame_read():
    with orvane.Camera("sim:fault=absent") as cam:
        frame = np.zeros(cam.frame_shape, np.uint8)
        with pytest.raises(orvane.NoSignalError, match="nothing drives the data lines") as caught:
            cam.capture(out=frame)
    assert caught.value.code == "no signal" and isinstance(caught.value, OSError) and frame.any()


def test_a_folder_of_pictures_plays_one_a_sensor_frame(tmp_path):
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
    for i, colour in enumerate(colours):
        (tmp_path / f"frame-{i:04}.ppm").write_bytes(b"P6 1 1 255\n" + bytes(colour))
    with orvane.Camera("sim:reference", scene=tmp_path) as cam:
        cam.set(clock_prescaler=0, format="rgb")
        seen = {tuple(int(v) for v in cam.capture()[100, 100]) for _ in range(12)}
    assert seen == set(colours)
