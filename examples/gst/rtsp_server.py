#!/usr/bin/python3
"""Serves the camera as an RTSP stream (Motion JPEG over RTP) on this machine.

    rtsp_server.py [--address A] [--port N] [--mount /path] [orvanesrc property=value ...]

Prints the address it serves, then runs until Ctrl+C. Every client sees the same stream, so a
camera on a real port is opened once however many clients watch. It listens on this machine only
unless --address says otherwise (0.0.0.0: every network); --port 0 takes a free port.
"""
import argparse
import signal
import sys

import gi

try:
    gi.require_version("Gst", "1.0")
    gi.require_version("GstRtspServer", "1.0")
except ValueError:
    sys.exit("the RTSP server library is missing: sudo apt install gir1.2-gst-rtsp-server-1.0")
from gi.repository import GLib, Gst, GstRtspServer  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--address", default="127.0.0.1", help="address to listen on")
    parser.add_argument("--port", type=int, default=8554, help="TCP port (default 8554)")
    parser.add_argument("--mount", default="/orvane", help="path of the stream (default /orvane)")
    parser.add_argument("properties", nargs="*", help="orvanesrc properties, e.g. brightness=150")
    args = parser.parse_args()
    if not args.mount.startswith("/"):
        parser.error("--mount must start with /")
    for prop in args.properties:
        if "=" not in prop or any(c in prop for c in "!()"):
            parser.error(f"not a property=value pair: {prop}")

    Gst.init(None)
    if Gst.ElementFactory.find("orvanesrc") is None:
        sys.exit("orvanesrc is not installed; from the build tree set GST_PLUGIN_PATH=build/gst")

    factory = GstRtspServer.RTSPMediaFactory()
    # RTP carries JPEG only as 4:2:0 or 4:2:2, and decoders read it as full-range BT.601
    # (colorimetry 1:4:0:0); limited-range input would come out with washed-out colours.
    factory.set_launch(f"( orvanesrc {' '.join(args.properties)} ! videoconvert ! "
                       "video/x-raw,format=I420,colorimetry=1:4:0:0 ! jpegenc ! "
                       "rtpjpegpay name=pay0 pt=26 )")
    factory.set_shared(True)
    server = GstRtspServer.RTSPServer()
    server.set_address(args.address)
    server.set_service(str(args.port))
    server.get_mount_points().add_factory(args.mount, factory)
    if server.attach(None) == 0:
        sys.exit(f"cannot listen on {args.address} port {args.port}")

    print(f"rtsp://{args.address}:{server.get_bound_port()}{args.mount}", flush=True)
    loop = GLib.MainLoop()
    for signum in (signal.SIGINT, signal.SIGTERM):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signum, loop.quit)
    loop.run()


if __name__ == "__main__":
    main()
