#!/usr/bin/python3
"""Writes a synthetic web site for the mirror benchmark.

The site is a tree of folders FANOUT wide and LEVELS deep below the root. Every
folder has an index.html that lists its pages and its sub-folders, so every page
is reachable from /index.html; pages link up, across and to random far pages with
relative, absolute-path and (with --base-url) full addresses, show a few images
of their own and borrow some from other folders. Style sheets take background
images with url() and one imports another. The same seed gives the same site.

Prints one line "pages=N images=N css=N files=N" on success.
"""

import argparse
import os
import posixpath
import random
import struct
import sys
import zlib

LEVEL_NAMES = ["sec", "topic", "part", "unit", "leaf", "twig", "bud"]
WORDS = (
    "river stone lantern orchard meadow copper harbour violet thimble quarry "
    "willow ember parcel glacier saddle beacon hollow marble tundra falcon"
).split()


def png_bytes(rng, width, height):
    """An RGB PNG of random pixels: random data does not compress, so its size
    is about width * height * 3 bytes."""
    rows = b"".join(b"\x00" + rng.randbytes(width * 3) for _ in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def gif_bytes(rng, size):
    """A 1x1 GIF padded to about `size` bytes with a comment extension."""
    head = b"GIF89a\x01\x00\x01\x00\x80\x00\x00" + rng.randbytes(6)
    comment = bytearray(b"\x21\xfe")
    left = max(size - 40, 1)
    while left > 0:
        n = min(255, left)
        comment += bytes([n]) + bytes(rng.choice(b"abcdefghij") for _ in range(n))
        left -= n
    comment += b"\x00"
    image = b"\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00"
    return head + bytes(comment) + image + b"\x3b"


def image_bytes(rng, name):
    if name.endswith(".gif"):
        return gif_bytes(rng, rng.randint(1000, 5000))
    return png_bytes(rng, rng.randint(20, 40), rng.randint(20, 40))


def make_folders(fanout, levels):
    """Folder paths ("" for the root, then "sec0/", "sec0/topic1/", ...),
    parents before children."""
    folders = [""]
    frontier = [""]
    for level in range(levels):
        frontier = [f"{parent}{LEVEL_NAMES[level % len(LEVEL_NAMES)]}{i}/"
                    for parent in frontier for i in range(fanout)]
        folders += frontier
    return folders


def rel(from_folder, target):
    """The relative link from a page in `from_folder` to site path `target`."""
    return posixpath.relpath("/" + target, "/" + (from_folder or "."))


def parent_of(folder):
    """The folder holding `folder` ("" for a folder at the root)."""
    up = posixpath.dirname(folder.rstrip("/"))
    return up + "/" if up else ""


def folder_of(path):
    """The folder of a site file, with its final "/" ("" at the root)."""
    up = posixpath.dirname(path)
    return up + "/" if up else ""


def paragraph(rng, n):
    return " ".join(rng.choice(WORDS) for _ in range(n))


class Site:
    def __init__(self, args):
        self.rng = random.Random(args.seed)
        self.base = args.base_url.rstrip("/") if args.base_url else ""
        self.out = args.out
        self.folders = make_folders(args.fanout, args.levels)
        if args.pages < len(self.folders):
            sys.exit(f"mirror_site: {args.pages} pages cannot fill {len(self.folders)} folders "
                     "(lower MIRROR_FANOUT or MIRROR_LEVELS)")
        self.children = {f: [] for f in self.folders}
        for f in self.folders[1:]:
            self.children[parent_of(f)].append(f)
        # Each folder has its index page; the other pages fall in random folders.
        self.pages = {f: [f + "index.html"] for f in self.folders}
        for n in range(args.pages - len(self.folders)):
            folder = self.rng.choice(self.folders)
            self.pages[folder].append(f"{folder}p{n}.html")
        self.all_pages = [p for f in self.folders for p in self.pages[f]]
        self.sections = self.children[""]
        self.css = ["css/site.css", "css/theme.css"] + [f"{s}section.css" for s in self.sections]
        # Two background images per style sheet live in img/ and are named only there.
        self.css_images = {c: [f"img/bg{i}-{k}.{'gif' if k else 'png'}" for k in range(2)]
                           for i, c in enumerate(self.css)}
        css_image_count = sum(len(v) for v in self.css_images.values())
        if args.images < css_image_count:
            sys.exit(f"mirror_site: at least {css_image_count} images are needed")
        # Page images sit in the folder of the page that shows them.
        self.page_images = {p: [] for p in self.all_pages}
        order = self.all_pages[:]
        self.rng.shuffle(order)
        for n in range(args.images - css_image_count):
            page = order[n % len(order)]
            ext = "gif" if n % 3 == 0 else "png"
            self.page_images[page].append(f"{folder_of(page)}i{n}.{ext}")
        self.all_images = [i for p in self.all_pages for i in self.page_images[p]]

    def link(self, folder, target):
        """A link to site path `target` in one of three spellings."""
        kind = self.rng.random()
        if kind < 0.15 and self.base:
            return f"{self.base}/{target}"
        if kind < 0.35:
            return "/" + target
        return rel(folder, target)

    def write(self, path, data):
        full = os.path.join(self.out, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())

    def page_html(self, page):
        folder = folder_of(page)
        rng = self.rng
        links = []
        title = f"{page} - {paragraph(rng, 2)}"
        sheets = [rel(folder, "css/site.css") if rng.random() < 0.5 else "/css/site.css"]
        if folder:
            sheets.append(rel(folder, folder.split("/")[0] + "/section.css"))
        head = "".join(f'<link rel="stylesheet" href="{s}">\n' for s in sheets)
        # Navigation: home, up, the sibling folders across the level, neighbours.
        links.append(("Home", self.link(folder, "index.html")))
        if folder:
            parent = parent_of(folder)
            links.append(("Up", rel(folder, parent + "index.html")))
            for sibling in self.children[parent]:
                if sibling != folder:
                    links.append((sibling, rel(folder, sibling + "index.html")))
        siblings = self.pages[folder]
        at = siblings.index(page)
        for near in (siblings[at - 1], siblings[(at + 1) % len(siblings)]):
            if near != page:
                links.append((near, rel(folder, near) + ("#top" if rng.random() < 0.2 else "")))
        # An index page lists its whole folder and the folders below it.
        if page.endswith("index.html"):
            for other in siblings[1:]:
                links.append((other, rel(folder, other)))
            for child in self.children[folder]:
                links.append((child, rel(folder, child + "index.html")))
        for _ in range(3):
            far = rng.choice(self.all_pages)
            links.append((far, self.link(folder, far)))
        images = [rel(folder, i) for i in self.page_images[page]]
        for _ in range(rng.randint(0, 2)):
            if self.all_images:
                images.append(self.link(folder, rng.choice(self.all_images)))
        nav = "\n".join(f'<li><a href="{href}">{text}</a></li>' for text, href in links)
        imgs = "\n".join(f'<img src="{src}" alt="picture {n}" width="32" height="32">'
                         for n, src in enumerate(images))
        text = "\n".join(f"<p>{paragraph(rng, rng.randint(30, 80))}</p>" for _ in range(rng.randint(2, 5)))
        return (f"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>{title}</title>\n{head}"
                f"</head>\n<body><a name=\"top\"></a>\n<h1>{title}</h1>\n<ul class=\"nav\">\n{nav}\n</ul>\n"
                f"{imgs}\n{text}\n</body></html>\n")

    def css_text(self, sheet):
        folder = folder_of(sheet)
        first, second = self.css_images[sheet]
        rules = [f"body {{ background: #fff url({rel(folder, first)}) repeat-x; }}",
                 f".nav li {{ list-style-image: url(\"/{second}\"); }}",
                 "h1 { font: bold 1.4em serif; }"]
        if sheet == "css/site.css":
            rules.insert(0, '@import url("theme.css");')
        return "\n".join(rules) + "\n"

    def generate(self):
        for page in self.all_pages:
            self.write(page, self.page_html(page))
        for sheet in self.css:
            self.write(sheet, self.css_text(sheet))
        for images in self.css_images.values():
            for name in images:
                self.write(name, image_bytes(self.rng, name))
        for name in self.all_images:
            self.write(name, image_bytes(self.rng, name))
        n_images = len(self.all_images) + sum(len(v) for v in self.css_images.values())
        n_pages = len(self.all_pages)
        print(f"pages={n_pages} images={n_images} css={len(self.css)} "
              f"files={n_pages + n_images + len(self.css)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", help="folder to write the site into (made if missing)")
    parser.add_argument("--pages", type=int, default=3000)
    parser.add_argument("--images", type=int, default=6000)
    parser.add_argument("--fanout", type=int, default=3, help="sub-folders per folder")
    parser.add_argument("--levels", type=int, default=5, help="folder levels below the root")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--base-url", default="", help="origin for full-address links, e.g. "
                        "http://127.0.0.1:8080 (none without it)")
    Site(parser.parse_args()).generate()


if __name__ == "__main__":
    main()
