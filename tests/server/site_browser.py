#!/usr/bin/python3
"""The site in a real browser: headless Chromium through Selenium against the built server.

Usage: site_browser.py QUILLET_SERVER SCREENSHOT_DIR

Makes an account and two uploads (one mailed at once, one scheduled), then logs in, cancels
the waiting mail, is refused a post whose CSRF token was removed, deletes a picture, logs out
and sets a new password through a reminder's link. Saves a screenshot of every page on the
way. Exits 0 when all went as expected, 1 when not, 77 when Chromium or Selenium is missing.
"""

import base64
import email
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.request

SKIP = 77
ALBUM, USER, PASS, NEW_PASS = "album1", "me@example.jp", "pw-Zq81x", "new_Pass-7"
CHROMEDRIVER = "/usr/bin/chromedriver"
D = "1415926535897932384626433832795028841"
T = "0123456789012345678901234567890123456789012"
WAIT_SEC = 20

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.common.exceptions import StaleElementReferenceException, TimeoutException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None


def fail(text):
    print("site_browser: " + text, file=sys.stderr)
    sys.exit(1)


def check(ok, text):
    if not ok:
        fail(text)


def find_chromium():
    """The Chromium program, or None."""
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


def start_server(program, state_dir):
    """Adds the account, starts the server on a free port; returns (process, base URL)."""
    add = subprocess.run([program, "account", "add", ALBUM, USER, "--dir", state_dir],
                         input=PASS + "\n", text=True, capture_output=True)
    check(add.returncode == 0, "account add failed: " + add.stderr)
    proc = subprocess.Popen([program, "--dir", state_dir, "--listen", "127.0.0.1:0"],
                            stdout=subprocess.PIPE, text=True)
    first = proc.stdout.readline()
    m = re.match(r"quillet-server: listening on (\S+) port (\d+)", first)
    if not m:
        proc.kill()
        fail("the server did not start: " + repr(first))
    return proc, "http://%s:%s" % (m.group(1), m.group(2))


def picture_jpeg(driver):
    """A 120 x 130 JPEG drawn by the browser: sky, sun and a hill."""
    url = driver.execute_script("""
        const c = document.createElement('canvas');
        c.width = 120; c.height = 130;
        const g = c.getContext('2d');
        const sky = g.createLinearGradient(0, 0, 0, 130);
        sky.addColorStop(0, '#7ec8f0'); sky.addColorStop(1, '#fff4d8');
        g.fillStyle = sky; g.fillRect(0, 0, 120, 130);
        g.fillStyle = '#f08c28'; g.beginPath(); g.arc(86, 34, 18, 0, 7); g.fill();
        g.fillStyle = '#5aa050'; g.beginPath(); g.ellipse(50, 140, 90, 50, 0, 0, 7); g.fill();
        return c.toDataURL('image/jpeg', 0.9);""")
    return base64.b64decode(url.split(",", 1)[1])


def upload(base, schedule, recipients, subject, message, jpeg):
    """Posts an upload as the program does; the texts go as CP932 bytes."""
    head = "\n".join([D, "Velquaris2.00", "", D, USER, PASS, ALBUM, D, schedule,
                      recipients]).encode("ascii")
    body = (head + b"\n" + subject.encode("cp932") + b"\n" + message.encode("cp932") +
            b"\n" + D.encode() + b"\n" + jpeg + T.encode() + D.encode())
    req = urllib.request.Request(base + "/cgi-bin/saveimg.cgi", data=body, method="POST")
    with urllib.request.urlopen(req) as r:
        answer = r.read().decode()
    check(answer == "OK", "upload answered " + answer)


def later_hour():
    """A schedule line for the start of the local hour three hours from now."""
    return time.strftime("ON(%Y/%m/%d-%H)", time.localtime(time.time() + 3 * 3600))


def shoot(driver, shot_dir, name):
    """Saves the whole page, not only the window, as SHOT_DIR/NAME.png."""
    size = driver.execute_cdp_cmd("Page.getLayoutMetrics", {})["cssContentSize"]
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {
        "captureBeyondViewport": True,
        "clip": {"x": 0, "y": 0, "width": size["width"], "height": size["height"], "scale": 1}})
    with open(os.path.join(shot_dir, name + ".png"), "wb") as f:
        f.write(base64.b64decode(shot["data"]))


def body_text(driver):
    return driver.find_element(By.TAG_NAME, "body").text


def wait_for(driver, what, cond):
    """Waits until cond(driver) holds; elements of the page being left count as not yet."""
    try:
        return WebDriverWait(driver, WAIT_SEC,
                             ignored_exceptions=[StaleElementReferenceException]).until(cond)
    except TimeoutException:
        fail("waited in vain for " + what + "; the page says:\n" + body_text(driver))


def mail_item(driver, recipient):
    """The text of the recipient's line on the management page, "" when there is none."""
    for li in driver.find_elements(By.CSS_SELECTOR, "ul.mails li"):
        if li.text.startswith(recipient):
            return li.text
    return ""


def reload_until(driver, what, cond):
    """Reloads the page until cond(driver) holds: the scheduler works apart from the page."""
    def reloaded(d):
        d.refresh()
        return cond(d)
    wait_for(driver, what, reloaded)


def submit_form(driver, act, index=0):
    """Clicks the button of the form posting `act`, the first one or the one at `index`."""
    sel = "form input[name=act][value=%s]" % act
    form = driver.find_elements(By.CSS_SELECTOR, sel)[index].find_element(By.XPATH, "..")
    form.find_element(By.TAG_NAME, "button").click()


def count_of(driver, selector):
    return len(driver.find_elements(By.CSS_SELECTOR, selector))


def reset_link(maildir):
    """The reset link of the reminder mail in the Maildir, or None while there is none."""
    new = os.path.join(maildir, "new")
    for name in os.listdir(new) if os.path.isdir(new) else []:
        with open(os.path.join(new, name), "rb") as f:
            msg = email.message_from_bytes(f.read())
        for part in msg.walk():
            if part.get_content_type() == "text/plain":
                m = re.search(r"(http://\S+/quillet/reset\.html\?t=\w+)",
                              part.get_payload(decode=True).decode("utf-8"))
                if m:
                    return m.group(1)
    return None


def log_in(driver, base, password):
    driver.get(base + "/quillet/login.html")
    driver.find_element(By.ID, "album").send_keys(ALBUM)
    driver.find_element(By.ID, "pass").send_keys(password)
    driver.find_element(By.CSS_SELECTOR, "form button").click()
    wait_for(driver, "the management page", lambda d: d.current_url.endswith("/manage.html"))


def run(driver, base, state_dir, shot_dir):
    driver.get(base + "/quillet/")
    check("最大5台" in body_text(driver), "the home page does not say what the service does")
    shoot(driver, shot_dir, "1-home")

    jpeg = picture_jpeg(driver)
    upload(base, "OFF()", "now1@example.jp, now2@example.jp", "すぐ送る写真",
           "こんにちは。\r\n元気ですか？", jpeg)
    upload(base, later_hour(), "later@example.jp", "あとで送る写真", "夕方に届きます。", jpeg)

    driver.get(base + "/users/%s/" % ALBUM)
    check(count_of(driver, "figure img") == 2, "the public album does not show both pictures")
    check("送る写真" not in body_text(driver) and "@" not in body_text(driver),
          "the public album shows a subject or a recipient")
    shoot(driver, shot_dir, "2-album")

    driver.get(base + "/quillet/login.html")
    shoot(driver, shot_dir, "3-login")
    log_in(driver, base, PASS)
    reload_until(driver, "the mails sent at once",
                 lambda d: "送信済み" in mail_item(d, "now1@example.jp") and
                 "送信済み" in mail_item(d, "now2@example.jp"))
    check("送信待ち" in mail_item(driver, "later@example.jp"), "the scheduled mail is not waiting")
    check("あとで送る写真" in body_text(driver), "the CP932 subject is not shown")
    check("こんにちは。\n元気ですか？" in body_text(driver), "the message is not shown")
    shoot(driver, shot_dir, "4-manage-before")

    submit_form(driver, "cancel")
    wait_for(driver, "the cancelled mail", lambda d: "取り消し" in mail_item(d, "later@example.jp"))
    check(not driver.find_elements(By.CSS_SELECTOR, "input[name=act][value=cancel]"),
          "a cancel button is left")

    # A post without the session's token, as another site's page would send it.
    driver.execute_script(
        "document.querySelector('input[name=act][value=delete]').form"
        ".querySelector('input[name=csrf]').remove()")
    submit_form(driver, "delete")
    wait_for(driver, "the refusal", lambda d: "受け付けませんでした" in body_text(d))
    shoot(driver, shot_dir, "5-refused")
    driver.get(base + "/quillet/manage.html")
    check(count_of(driver, ".card img") == 2, "the refused post deleted a picture")

    # The older upload, whose mails went out; the cancelled mail stays in view.
    submit_form(driver, "delete", -1)
    wait_for(driver, "the deleted picture", lambda d: count_of(d, ".card img") == 1)
    check("あとで送る写真" in body_text(driver), "the wrong picture was deleted")
    check("取り消し" in mail_item(driver, "later@example.jp"), "the cancelled mail is not shown")
    shoot(driver, shot_dir, "6-manage-after")

    submit_form(driver, "logout")
    wait_for(driver, "the login page", lambda d: d.current_url.endswith("/login.html"))
    driver.get(base + "/quillet/manage.html")
    check(driver.current_url.endswith("/login.html"), "the management page opens after logout")

    with urllib.request.urlopen(urllib.request.Request(
            base + "/quillet/resend.php?id=%s&pass=x" % ALBUM, data=b"", method="POST")) as r:
        check(r.read() == b"OK", "the reminder was not taken")
    link = wait_for(driver, "the reminder mail",
                    lambda d: reset_link(os.path.join(state_dir, "Maildir")))
    driver.get(link)
    shoot(driver, shot_dir, "7-reset")
    driver.find_element(By.ID, "pass").send_keys(NEW_PASS)
    driver.find_element(By.ID, "pass2").send_keys(NEW_PASS)
    driver.find_element(By.CSS_SELECTOR, "form button").click()
    wait_for(driver, "the new password", lambda d: "パスワードを変更しました" in body_text(d))
    shoot(driver, shot_dir, "8-reset-done")
    log_in(driver, base, NEW_PASS)


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, shot_dir = sys.argv[1], sys.argv[2]
    chromium = find_chromium()
    if webdriver is None or not chromium or not os.path.exists(CHROMEDRIVER):
        print("site_browser: skipped: needs python3-selenium, chromium and %s" % CHROMEDRIVER)
        return SKIP
    os.makedirs(shot_dir, exist_ok=True)
    opts = webdriver.ChromeOptions()
    opts.binary_location = chromium
    for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--lang=ja"):
        opts.add_argument(arg)
    # A phone's screen: the pages are meant for one.
    opts.add_experimental_option("mobileEmulation", {
        "deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 1}})
    with tempfile.TemporaryDirectory() as state_dir:
        proc, base = start_server(program, state_dir)
        driver = None
        try:
            driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=opts)
            run(driver, base, state_dir, shot_dir)
        finally:
            if driver:
                driver.quit()
            proc.terminate()
            ended = proc.wait()
    # A clean stop ends with 0; a sanitizer's report would not.
    check(ended == 0, "quillet-server ended with %d after SIGTERM" % ended)
    print("site_browser: all pages behaved; screenshots in " + shot_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
