#!/usr/bin/env python3
"""Tests of the local publisher server: run the real server process and talk HTTP to it."""

import http.client
import json
import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "server.py")
CONTROL = os.path.join(HERE, "publisher.sh")
sys.path.insert(0, HERE)
import server  # noqa: E402  (for the pure fault-lookup helpers)

CONFIG_BODY = b"[VerKey]\r\nTolvVorel=0123456789abcdef0123456789ab3001\r\nUpdAddr=http://x/y.exe\r\n"


def start_server(root, log, faults):
    proc = subprocess.Popen(
        [sys.executable, SERVER, "--port", "0", "--root", root, "--log", log, "--faults", faults],
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        text=True,
    )
    line = proc.stdout.readline()
    m = re.search(r"http://127\.0\.0\.1:(\d+)/", line)
    if not m:
        proc.kill()
        raise RuntimeError("server did not start: %r %r" % (line, proc.stderr.read()))
    return proc, int(m.group(1))


def raw_exchange(port, request, timeout=5):
    """Sends a raw request and reads until the server closes; returns (bytes, closed_cleanly)."""
    s = socket.create_connection(("127.0.0.1", port), timeout=timeout)
    try:
        s.sendall(request)
        data = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                return data
            data += chunk
    finally:
        s.close()


def split_response(data):
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    return lines[0], headers, body


class ServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.root = os.path.join(cls.tmp.name, "site")
        os.makedirs(os.path.join(cls.root, "update"))
        os.makedirs(os.path.join(cls.root, "notice"))
        with open(os.path.join(cls.root, "update", "ConfigTolvVorel.htm"), "wb") as f:
            f.write(CONFIG_BODY)
        with open(os.path.join(cls.root, "notice", "index.htm"), "wb") as f:
            f.write(b"<p>notice index</p>")
        with open(os.path.join(cls.tmp.name, "secret.txt"), "wb") as f:
            f.write(b"outside the site")
        cls.log = os.path.join(cls.tmp.name, "requests.log")
        cls.faults = os.path.join(cls.tmp.name, "faults.json")
        cls.proc, cls.port = start_server(cls.root, cls.log, cls.faults)

    @classmethod
    def tearDownClass(cls):
        cls.proc.terminate()
        cls.proc.wait(5)
        cls.proc.stdout.close()
        cls.proc.stderr.close()
        cls.tmp.cleanup()

    def setUp(self):
        self.set_faults(None)
        open(self.log, "w").close()

    def set_faults(self, faults):
        if faults is None:
            if os.path.exists(self.faults):
                os.remove(self.faults)
            return
        tmp = self.faults + ".tmp"
        with open(tmp, "w") as f:
            json.dump(faults, f)
        os.replace(tmp, self.faults)

    def get(self, path, method="GET", headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        try:
            conn.request(method, path, headers=headers or {})
            resp = conn.getresponse()
            return resp.status, dict((k.lower(), v) for k, v in resp.getheaders()), resp.read()
        finally:
            conn.close()

    def log_entries(self):
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    # --- plain serving and the log ---

    def test_get_and_head_are_served_and_logged(self):
        status, headers, body = self.get(
            "/update/ConfigTolvVorel.htm?a=1&b=%41", headers={"Accept-Language": "zh-cn "}
        )
        self.assertEqual(status, 200)
        self.assertEqual(body, CONFIG_BODY)
        self.assertEqual(headers["content-length"], str(len(CONFIG_BODY)))

        status, headers, body = self.get("/update/ConfigTolvVorel.htm", method="HEAD")
        self.assertEqual(status, 200)
        self.assertEqual(body, b"")
        self.assertEqual(headers["content-length"], str(len(CONFIG_BODY)))

        entries = self.log_entries()
        self.assertEqual(len(entries), 2)
        first, second = entries
        self.assertEqual(first["method"], "GET")
        self.assertEqual(first["path"], "/update/ConfigTolvVorel.htm")
        self.assertEqual(first["query"], "a=1&b=%41")
        self.assertEqual(first["status"], 200)
        # The client's header carries a trailing blank; the log keeps values as sent.
        self.assertEqual(first["headers"].get("Accept-Language"), "zh-cn ")
        self.assertAlmostEqual(first["time"], time.time(), delta=30)
        self.assertEqual((second["method"], second["query"]), ("HEAD", ""))

    def test_missing_files_and_escapes_are_404(self):
        for path in ("/update/nothing.htm", "/update/", "/../secret.txt", "/%2e%2e/secret.txt"):
            with self.subTest(path=path):
                status, headers, body = self.get(path)
                self.assertEqual(status, 404)
                self.assertNotIn(b"outside the site", body)
                self.assertEqual(headers["content-length"], str(len(body)))
        self.assertEqual([e["status"] for e in self.log_entries()], [404] * 4)

    def test_folder_serves_its_index(self):
        status, _, body = self.get("/notice/")
        self.assertEqual((status, body), (200, b"<p>notice index</p>"))

    def test_keep_alive_connection_serves_several_requests(self):
        # The client reuses connections; a wrong length would desynchronise the second answer.
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        try:
            for _ in range(2):
                conn.request("GET", "/update/ConfigTolvVorel.htm")
                resp = conn.getresponse()
                self.assertEqual((resp.status, resp.read()), (200, CONFIG_BODY))
        finally:
            conn.close()

    # --- faults ---

    def test_status_and_body_faults(self):
        self.set_faults({"/update/ConfigTolvVorel.htm": {"status": 500}})
        status, headers, body = self.get("/update/ConfigTolvVorel.htm")
        self.assertEqual(status, 500)
        self.assertNotEqual(body, CONFIG_BODY)
        self.assertEqual(headers["content-length"], str(len(body)))

        self.set_faults({"/update/ConfigTolvVorel.htm": {"status": 500, "body": "broken"}})
        self.assertEqual(self.get("/update/ConfigTolvVorel.htm")[::2], (500, b"broken"))

        # A body on its own answers 200 even where no file exists.
        self.set_faults({"/notice/tolvvorel.txt": {"body": "id|2030-1-1|t||x||1"}})
        self.assertEqual(self.get("/notice/tolvvorel.txt")[::2], (200, b"id|2030-1-1|t||x||1"))
        self.assertEqual([e["status"] for e in self.log_entries()], [500, 500, 200])

    def test_file_fault_serves_an_absolute_file_of_the_test(self):
        served = os.path.join(self.tmp.name, "served.bin")
        payload = bytes(range(256)) * 300  # binary, larger than one socket buffer
        with open(served, "wb") as f:
            f.write(payload)
        self.set_faults({"/up/TolvVorel.exe": {"file": served}})
        status, headers, body = self.get("/up/TolvVorel.exe")
        self.assertEqual((status, body), (200, payload))
        self.assertEqual(headers["content-length"], str(len(payload)))
        self.assertEqual(headers["content-type"], "application/octet-stream")

        # Transport faults apply to it like to any body.
        self.set_faults({"/up/TolvVorel.exe": {"file": served, "cut_after": 100}})
        data = raw_exchange(self.port, b"GET /up/TolvVorel.exe HTTP/1.1\r\nHost: x\r\n\r\n")
        _, headers, body = split_response(data)
        self.assertEqual((headers["content-length"], body), (str(len(payload)), payload[:100]))

        # It replaces a site file too, and a forced status still wins over it.
        self.set_faults({"/update/ConfigTolvVorel.htm": {"file": served, "status": 500}})
        status, _, body = self.get("/update/ConfigTolvVorel.htm")
        self.assertEqual(status, 500)
        self.assertNotEqual(body, payload)

        # Missing, relative or non-text paths are a missing file, never the site's own files.
        for bad in (os.path.join(self.tmp.name, "absent.bin"), "site/update/ConfigTolvVorel.htm",
                    self.root, 7):
            with self.subTest(file=bad):
                self.set_faults({"/update/ConfigTolvVorel.htm": {"file": bad}})
                status, _, body = self.get("/update/ConfigTolvVorel.htm")
                self.assertEqual(status, 404)
                self.assertNotEqual(body, CONFIG_BODY)

    def test_prefix_faults_and_exact_precedence(self):
        self.set_faults(
            {
                "/update/*": {"status": 503},
                "/update/Config*": {"status": 502},
                "/update/ConfigTolvVorel.htm": {"status": 501},
            }
        )
        self.assertEqual(self.get("/update/ConfigTolvVorel.htm")[0], 501)
        self.assertEqual(self.get("/update/ConfigHall.htm")[0], 502)
        self.assertEqual(self.get("/update/new.exe")[0], 503)
        self.assertEqual(self.get("/notice/")[0], 200)
        # The query is not part of the key.
        self.assertEqual(self.get("/update/ConfigTolvVorel.htm?x=1")[0], 501)

    def test_delay_fault_delays_the_answer(self):
        self.set_faults({"/update/*": {"delay": 0.4}})
        t0 = time.monotonic()
        status, _, body = self.get("/update/ConfigTolvVorel.htm")
        elapsed = time.monotonic() - t0
        self.assertEqual((status, body), (200, CONFIG_BODY))
        self.assertGreaterEqual(elapsed, 0.4)
        t0 = time.monotonic()
        self.get("/notice/")
        self.assertLess(time.monotonic() - t0, 0.3)

    def test_cut_after_sends_full_length_then_closes(self):
        self.set_faults({"/update/ConfigTolvVorel.htm": {"cut_after": 10}})
        data = raw_exchange(self.port, b"GET /update/ConfigTolvVorel.htm HTTP/1.1\r\nHost: x\r\n\r\n")
        status_line, headers, body = split_response(data)
        self.assertIn(" 200 ", status_line)
        self.assertEqual(headers["content-length"], str(len(CONFIG_BODY)))
        self.assertEqual(body, CONFIG_BODY[:10])

    def test_stall_after_pauses_mid_body_then_completes(self):
        self.set_faults({"/update/ConfigTolvVorel.htm": {"stall_after": 10, "stall": 0.5}})
        s = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        try:
            s.sendall(b"GET /update/ConfigTolvVorel.htm HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
            data = b""
            while b"\r\n\r\n" not in data or len(data.partition(b"\r\n\r\n")[2]) < 10:
                data += s.recv(65536)
            t0 = time.monotonic()
            self.assertEqual(data.partition(b"\r\n\r\n")[2], CONFIG_BODY[:10])
            while True:
                chunk = s.recv(65536)
                if not chunk:
                    break
                data += chunk
            self.assertGreaterEqual(time.monotonic() - t0, 0.4)
        finally:
            s.close()
        status_line, headers, body = split_response(data)
        self.assertIn(" 200 ", status_line)
        self.assertEqual(headers["content-length"], str(len(CONFIG_BODY)))
        self.assertEqual(body, CONFIG_BODY)

    def test_drop_closes_without_answer(self):
        self.set_faults({"/update/*": {"drop": True}})
        data = raw_exchange(self.port, b"GET /update/ConfigTolvVorel.htm HTTP/1.1\r\nHost: x\r\n\r\n")
        self.assertEqual(data, b"")
        entry = self.log_entries()[-1]
        self.assertEqual((entry["path"], entry["status"]), ("/update/ConfigTolvVorel.htm", None))

    def test_no_length_sends_body_then_closes(self):
        self.set_faults({"/update/*": {"no_length": True}})
        data = raw_exchange(self.port, b"GET /update/ConfigTolvVorel.htm HTTP/1.1\r\nHost: x\r\n\r\n")
        status_line, headers, body = split_response(data)
        self.assertIn(" 200 ", status_line)
        self.assertNotIn("content-length", headers)
        self.assertEqual(body, CONFIG_BODY)

    def test_fault_file_is_reread_on_every_request(self):
        path = "/update/ConfigTolvVorel.htm"
        self.assertEqual(self.get(path)[0], 200)
        self.set_faults({path: {"status": 404}})
        self.assertEqual(self.get(path)[0], 404)
        self.set_faults({path: {"status": 500}})
        self.assertEqual(self.get(path)[0], 500)
        # A half-written file keeps the faults in force rather than silently dropping them.
        with open(self.faults, "w") as f:
            f.write('{"/upd')
        self.assertEqual(self.get(path)[0], 500)
        self.set_faults(None)
        self.assertEqual(self.get(path)[0], 200)

    # --- binding ---

    def test_text_files_name_the_host_the_request_went_to(self):
        with open(os.path.join(self.root, "notice", "n.txt"), "wb") as f:
            f.write(b"a|\xd0\xc2|http://@HOST@/notice/p.jpg|3")
        with open(os.path.join(self.root, "notice", "n.htm"), "wb") as f:
            f.write(b"@HOST@")
        status, headers, body = self.get("/notice/n.txt", headers={"Host": "vorel.test:8080"})
        self.assertEqual(status, 200)
        self.assertEqual(body, b"a|\xd0\xc2|http://vorel.test:8080/notice/p.jpg|3")
        self.assertEqual(int(headers["content-length"]), len(body))
        # Only the site's text files: pages and fault bodies are served as they are.
        self.assertEqual(self.get("/notice/n.htm")[2], b"@HOST@")
        self.set_faults({"/notice/n.txt": {"body": "@HOST@"}})
        self.assertEqual(self.get("/notice/n.txt")[2], b"@HOST@")

    def test_listens_on_loopback_address_only(self):
        # All of 127/8 reaches the loopback device on Linux, so a wildcard bind would accept here.
        s = socket.socket()
        s.settimeout(2)
        try:
            self.assertNotEqual(s.connect_ex(("127.0.0.2", self.port)), 0)
        finally:
            s.close()
        s = socket.create_connection(("127.0.0.1", self.port), timeout=2)
        s.close()


class FaultLookupTest(unittest.TestCase):
    def test_delay_is_bounded(self):
        cases = {0.5: 0.5, 61: 60.0, 1e9: 60.0, -3: 0.0, "5": 0.0, True: 0.0, float("nan"): 0.0}
        for given, expected in cases.items():
            with self.subTest(given=given):
                self.assertEqual(server.clamp_delay(given), expected)

    def test_malformed_entries_are_ignored(self):
        faults = {"/a*": "not an object", "/a/b": 5, "/*": {"status": 500}}
        self.assertEqual(server.find_fault(faults, "/a/b"), {"status": 500})
        self.assertIsNone(server.find_fault([], "/a"))


class ControlScriptTest(unittest.TestCase):
    def test_start_status_stop_are_idempotent(self):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        with tempfile.TemporaryDirectory() as state:
            env = dict(os.environ, PUBLISHER_STATE=state, PUBLISHER_PORT=str(port))

            def run(cmd):
                return subprocess.run(["bash", CONTROL, cmd], env=env, capture_output=True, text=True, timeout=20)

            try:
                self.assertEqual(run("status").returncode, 3)
                self.assertEqual(run("start").returncode, 0)
                with open(os.path.join(state, "publisher.pid")) as f:
                    pid = f.read().strip()
                again = run("start")
                self.assertEqual(again.returncode, 0)
                self.assertIn(pid, again.stdout)
                self.assertEqual(run("status").returncode, 0)

                conn = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
                conn.request("GET", "/install.htm?tag=tolvvorel&ver=3.0.0.1&count=1")
                self.assertEqual(conn.getresponse().status, 200)
                conn.close()
                with open(os.path.join(state, "requests.log")) as f:
                    self.assertEqual(json.loads(f.readline())["query"], "tag=tolvvorel&ver=3.0.0.1&count=1")
            finally:
                stopped = run("stop")
            self.assertEqual(stopped.returncode, 0)
            self.assertFalse(os.path.exists("/proc/" + pid))
            self.assertEqual(run("status").returncode, 3)
            self.assertEqual(run("stop").returncode, 0)
            with self.assertRaises(OSError):
                socket.create_connection(("127.0.0.1", port), timeout=1).close()


class ShippedSiteTest(unittest.TestCase):
    def test_report_pages_and_folders_answer(self):
        tmp = tempfile.TemporaryDirectory()
        log = os.path.join(tmp.name, "requests.log")
        proc, port = start_server(os.path.join(HERE, "site"), log, os.path.join(tmp.name, "none.json"))
        try:
            paths = [
                "/install.htm?tag=tolvvorel&ver=3.0.0.1&count=1",
                "/active.htm?tag=weboldra&ver=3.0.0.1&count=7",
                "/uninstall.htm?tag=tolvvorel&ver=3.0.0.1&count=2",
                "/update/",
                "/notice/",
                "/hall/",
                "/login/",
                "/wd/index.php",
                "/webgame.htm",
                "/game/play.htm?server=3&name=x&account=y",
            ]
            for path in paths:
                with self.subTest(path=path):
                    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
                    conn.request("GET", path)
                    resp = conn.getresponse()
                    self.assertEqual(resp.status, 200)
                    self.assertGreater(int(resp.getheader("Content-Length")), 0)
                    conn.close()
        finally:
            proc.terminate()
            proc.wait(5)
            proc.stdout.close()
            proc.stderr.close()
            tmp.cleanup()


class ShippedNoticeTest(unittest.TestCase):
    """The notices of the bundled site, as the launcher will read them."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        log = os.path.join(self.tmp.name, "requests.log")
        self.proc, self.port = start_server(os.path.join(HERE, "site"), log,
                                            os.path.join(self.tmp.name, "none.json"))

    def tearDown(self):
        self.proc.terminate()
        self.proc.wait(5)
        self.proc.stdout.close()
        self.proc.stderr.close()
        self.tmp.cleanup()

    def get(self, path):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        try:
            conn.request("GET", path)
            resp = conn.getresponse()
            return resp.status, resp.getheader("Content-Length"), resp.read()
        finally:
            conn.close()

    def test_notices_are_gbk_records_of_seven_fields_with_pictures_on_this_server(self):
        host = "127.0.0.1:%d" % self.port
        layouts = {"tolvvorel.txt": (True, True), "text-only.txt": (False, True),
                   "picture-only.txt": (True, False)}
        for name, (picture, text) in layouts.items():
            with self.subTest(name=name):
                status, length, body = self.get("/notice/" + name)
                self.assertEqual(status, 200)
                self.assertEqual(int(length), len(body))
                self.assertLess(len(body), 1024)
                fields = body.decode("gbk").split("|")
                self.assertEqual(len(fields), 7)
                self.assertEqual(fields[1], "2099-12-31")
                self.assertGreater(int(fields[6]), 0)
                self.assertTrue(fields[3].startswith("http://" + host + "/"))
                self.assertEqual(bool(fields[4]), text)
                self.assertEqual(bool(fields[5]), picture)
                if picture:
                    self.assertTrue(fields[5].startswith("http://" + host + "/notice/"))
                    status, _, jpeg = self.get(fields[5][len("http://" + host):])
                    self.assertEqual(status, 200)
                    self.assertEqual(jpeg[:3], b"\xff\xd8\xff")
        self.assertEqual(self.get("/notice/expired.txt")[2].decode("gbk").split("|")[1],
                         "2001-01-01")
        self.assertGreaterEqual(len(self.get("/notice/oversized.txt")[2]), 1024)
        self.assertEqual(self.get("/notice/missing.txt")[0], 404)


class WebPagesTest(unittest.TestCase):
    """The pages the launcher's browser shows: served as HTML, written for an old Internet
    Explorer, and holding only commands that the launcher accepts."""

    PAGES = ("wd/index.php", "webgame.htm", "game/play.htm")

    def page(self, name):
        with open(os.path.join(HERE, "site", name), encoding="utf-8") as f:
            return f.read()

    def test_pages_are_served_as_html(self):
        tmp = tempfile.TemporaryDirectory()
        proc, port = start_server(os.path.join(HERE, "site"), os.path.join(tmp.name, "log"),
                                  os.path.join(tmp.name, "none.json"))
        try:
            for name in self.PAGES:
                with self.subTest(page=name):
                    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
                    conn.request("GET", "/" + name)
                    resp = conn.getresponse()
                    resp.read()
                    self.assertEqual(resp.status, 200)
                    self.assertEqual(resp.getheader("Content-Type"), "text/html")
                    conn.close()
        finally:
            proc.terminate()
            proc.wait(5)
            proc.stdout.close()
            proc.stderr.close()
            tmp.cleanup()

    def test_pages_use_nothing_an_old_internet_explorer_lacks(self):
        modern = ["addEventListener", "querySelector", "=>", "let ", "const ", "classList",
                  "JSON.", "`", "<canvas", "flex", "rgba("]
        for name in self.PAGES:
            text = self.page(name)
            with self.subTest(page=name):
                self.assertIn('http-equiv="Content-Type" content="text/html; charset=utf-8"', text)
                for word in modern:
                    self.assertNotIn(word, text)

    def test_login_page_shows_the_picture_and_sends_fields_the_launcher_splits(self):
        text = self.page("wd/index.php")
        # The launcher's page window keys out exactly this colour.
        self.assertRegex(text, r"body \{ background: #FEFEFE;")
        self.assertIn('href="app://exitgame"', text)
        self.assertIn('href="app://minimize"', text)
        self.assertIn('"app://loadgame|" + encodeURIComponent(field) + "|"', text)
        options = re.findall(r'<option value="([^"]*)"[^>]*>([^<]*)</option>', text)
        self.assertGreaterEqual(len(options), 3)
        for value, name in options:
            with self.subTest(server=value):
                # "S" and the number; a name without "-" or "|", which would move the split.
                self.assertRegex(value, r"^S[0-9]+$")
                self.assertNotIn("-", name)
                self.assertNotIn("|", name)
        self.assertTrue(any("\u300b" in name for _, name in options))
        self.assertTrue(any("\u300b" not in name for _, name in options))

    def test_hall_links_name_only_clients_the_launcher_starts(self):
        text = self.page("webgame.htm")
        clients = re.findall(r'client="([^"]*)"', text)
        self.assertGreaterEqual(len(clients), 2)
        for client in clients:
            with self.subTest(client=client):
                # Lower case: the launcher capitalises the first letter for the file name.
                self.assertRegex(client, r"^[a-z][a-z0-9]*$")
        hrefs = re.findall(r'<a class="play"[^>]*href="([^"]*)"', text)
        self.assertEqual(len(hrefs), len(clients))
        for href in hrefs:
            self.assertTrue(href.startswith("app://entergame|"))


if __name__ == "__main__":
    unittest.main()
