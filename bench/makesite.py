"""Writes a test site for bench/crawl: pages of 2 to 8 KB with 5 to 15 links each and a
pool of pictures. Every page is reachable from page0.html within a few hops."""
import os
import random
import sys

def main(folder, pages=1000, pictures=60, seed=7):
    rng = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    for n in range(pictures):
        with open(os.path.join(folder, f"pic{n}.gif"), "wb") as out:
            out.write(b"GIF89a" + bytes(rng.randrange(256) for _ in range(rng.randrange(1000, 4000))))
    for n in range(pages):
        links = {(n + 1) % pages, (2 * n + 1) % pages}
        while len(links) < rng.randrange(5, 16):
            links.add(rng.randrange(pages))
        parts = [f"<html><head><title>Page {n}</title></head><body>\n"]
        for link in sorted(links):
            parts.append(f'<p><a href="page{link}.html">page {link}</a>\n')
        for _ in range(rng.randrange(1, 4)):
            parts.append(f'<img src="pic{rng.randrange(pictures)}.gif" alt="p">\n')
        size = rng.randrange(2048, 8192)
        text = "".join(parts)
        filler = "<p>" + "lorem ipsum dolor sit amet " * 400
        text += filler[: max(0, size - len(text) - 20)] + "\n</body></html>\n"
        with open(os.path.join(folder, f"page{n}.html"), "w") as out:
            out.write(text)

if __name__ == "__main__":
    main(sys.argv[1])
