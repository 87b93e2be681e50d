#!/usr/bin/env bash
# The automatic lookup of a new disc against a MusicBrainz service on loopback: how long
# from the player's start, and from the moment it identified the disc (during start-up,
# its default section written), until the titles stand in the disc database; and the player's
# resident memory a few seconds after the lookup, beside a run with the lookup turned off.
# Usage: bench/auto_lookup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(readlink -f "${1:-build}")
runs=${2:-5}
command -v python3 >/dev/null || { echo "python3 is needed for the loopback service" >&2; exit 1; }
exec xvfb-run -a -s "-screen 0 1024x768x24" python3 - "$build" "$runs" <<'PY'
import http.server, json, os, re, shutil, statistics, subprocess, sys, tempfile, threading, time

build, runs = sys.argv[1], int(sys.argv[2])
TRACKS = 12

class Service(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def send(self, status, body, kind, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        m = re.match(r"/ws/2/discid/([^?]+)", self.path)
        if m:
            disc = m.group(1)
            medium = {"position": 1, "format": "CD", "track-count": TRACKS, "discs": [{"id": disc}],
                      "tracks": [{"position": i, "title": f"Piece {i}"} for i in range(1, TRACKS + 1)]}
            release = {"id": "bench-release", "title": "Loopback Album", "country": "XW", "date": "2001",
                       "artist-credit": [{"name": "Bench Ensemble", "joinphrase": ""}], "media": [medium]}
            self.send(200, json.dumps({"id": disc, "releases": [release]}).encode(), "application/json")
        elif self.path.endswith("/front-250"):
            self.send(307, b"", "text/plain", [("Location", "/cover.jpg")])
        elif self.path == "/cover.jpg":
            self.send(200, b"\xff\xd8\xff\xe0" + bytes(4000), "image/jpeg")
        else:
            self.send(404, b"{}", "application/json")

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Service)
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_address[1]}"

def rss(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(next(l for l in status if l.startswith("VmRSS")).split()[1]) / 1024

def run(lookup):
    home = tempfile.mkdtemp()
    try:
        for folder in ("Skins", "demo"):
            shutil.copytree(os.path.join(build, "bin", folder), os.path.join(home, folder))
        # The demo disc's table without its CD-Text: a disc the player must look up.
        with open(os.path.join(build, "bin", "demo", "demo.disc")) as demo:
            table = [l for l in demo if re.match(r"(track \d|leadout )", l)]
        with open(os.path.join(home, "plain.disc"), "w") as disc:
            disc.writelines(table)
        with open(os.path.join(home, "settings.ini"), "w") as ini:
            ini.write("[HKEY_CURRENT_USER]\n"
                      f"SOFTWARE\\Tessaly\\Velmora\\MusicBrainzServer={url}\n"
                      f"SOFTWARE\\Tessaly\\Velmora\\CoverArtServer={url}\n"
                      f"SOFTWARE\\Tessaly\\Velmora\\Lookup%20Automatically={1 if lookup else 0}\n"
                      "SOFTWARE\\Tessaly\\Velmora\\Show%20Tips%20at%20Startup=0\n")
        config = os.path.join(home, "config")
        os.makedirs(os.path.join(home, "data", "applications"))
        os.makedirs(config)
        os.makedirs(os.path.join(home, "run"), mode=0o700)
        # Already the desktop's player for audio CDs, so that no question holds up the start.
        with open(os.path.join(config, "mimeapps.list"), "w") as m:
            m.write("[Default Applications]\nx-content/audio-cdda=velmora-bench.desktop\n")
        with open(os.path.join(home, "data", "applications", "velmora-bench.desktop"), "w") as d:
            d.write(f"[Desktop Entry]\nType=Application\nName=Velmora\nExec={build}/bin/velmora play\n")
        env = dict(os.environ, VELMORA_HOME=home, VELMORA_DRIVE="sim:" + os.path.join(home, "plain.disc"),
                   XDG_CONFIG_HOME=config, XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"), XDG_RUNTIME_DIR=os.path.join(home, "run"))
        database = os.path.join(home, "Velmora.ini")
        started = time.monotonic()
        player = subprocess.Popen([os.path.join(build, "bin", "velmora")], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        titled = identified = None
        while time.monotonic() - started < 15:
            # The file appears with the default section the player writes for a new disc.
            if identified is None and os.path.exists(database):
                identified = time.monotonic()
            try:
                with open(database, encoding="latin-1") as f:
                    if "Title=Loopback Album" in f.read():
                        titled = time.monotonic()
                        identified = identified or titled
                        break
            except OSError:
                pass
            if not lookup and time.monotonic() - started > 3:
                break
            time.sleep(0.001)
        time.sleep(3)
        memory = rss(player.pid)
        cover = os.path.exists(os.path.join(home, "cache", "velmora", "covers"))
        player.terminate()
        player.wait(10)
        if lookup and titled is None:
            sys.exit("the titles never arrived")
        return ((titled - started) * 1000 if titled else None,
                (titled - identified) * 1000 if titled else None, memory, cover)
    finally:
        shutil.rmtree(home, ignore_errors=True)

on = [run(True) for _ in range(runs)]
off = [run(False) for _ in range(max(2, runs // 2))]
from_start = [r[0] for r in on]
from_identity = [r[1] for r in on]
print(f"titles after start-up:      median {statistics.median(from_start):.0f} ms "
      f"(min {min(from_start):.0f}, max {max(from_start):.0f}) over {runs} runs")
print(f"titles after identification: median {statistics.median(from_identity):.1f} ms "
      f"(min {min(from_identity):.1f}, max {max(from_identity):.1f})")
print(f"cover kept: {all(r[3] for r in on)}")
print(f"resident memory 3 s after the lookup: median {statistics.median(r[2] for r in on):.1f} MiB; "
      f"lookup turned off: {statistics.median(r[2] for r in off):.1f} MiB")
PY
