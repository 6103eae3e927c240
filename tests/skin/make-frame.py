# The edit frame picture for the tests: 156 x 30, a three-pixel blue frame around a white interior.
import sys
from PIL import Image

image = Image.new("RGB", (156, 30), (0, 0, 255))
image.paste((255, 255, 255), (3, 3, 153, 27))
image.save(sys.argv[1], "BMP")
