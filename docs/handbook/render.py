#!/usr/bin/env python3
"""Renders the handbook's Markdown into one HTML page and copies its
stylesheet and images beside it: render.py SOURCE_DIR OUTPUT_DIR.

Fails when the page names an image or an anchor that is not there, so that a
broken handbook never builds."""
import html.parser
import pathlib
import re
import shutil
import sys

import markdown


class References(html.parser.HTMLParser):
    """The images, in-page links and ids of a page."""

    def __init__(self):
        super().__init__()
        self.images, self.anchors, self.ids = [], [], set()

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "img":
            self.images.append(attrs.get("src", ""))
        elif tag == "a" and attrs.get("href", "").startswith("#"):
            self.anchors.append(attrs["href"][1:])


def main(source, output):
    text = (source / "index.md").read_text(encoding="utf-8")
    converter = markdown.Markdown(
        extensions=["extra", "toc", "sane_lists"],
        extension_configs={"toc": {"toc_depth": "2-3", "title": "Contents"}})
    body = converter.convert(text)
    heading = re.search(r"<h1[^>]*>(.*?)</h1>", body)
    title = re.sub(r"<[^>]+>", "", heading.group(1)) if heading else "Velo Handbook"
    page = (source / "page.html").read_text(encoding="utf-8")
    page = page.replace("@TITLE@", title).replace("@BODY@", body)

    found = References()
    found.feed(page)
    problems = [f"image {src} is missing" for src in found.images
                if not (source / src).is_file()]
    problems += [f"link #{anchor} leads nowhere" for anchor in found.anchors
                 if anchor not in found.ids]
    if problems:
        sys.exit("handbook: " + "; ".join(problems))

    output.mkdir(parents=True, exist_ok=True)
    (output / "index.html").write_text(page, encoding="utf-8")
    shutil.copyfile(source / "handbook.css", output / "handbook.css")
    (output / "images").mkdir(exist_ok=True)
    for image in sorted((source / "images").glob("*")):
        shutil.copyfile(image, output / "images" / image.name)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]))
