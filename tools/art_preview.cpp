// art_preview FOLDER : writes the program's pictures into FOLDER as BMPs to look at: the spell
// atlas and its greyed twin three times enlarged (spells.bmp, spells_greyed.bmp), and the eight
// reagent icons on the button face and on a dark ground four times enlarged (reagents.bmp).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/spell_art.h"
#include "win/bitmap.h"

namespace {

using win::Pixels;
using win::ReadPixels;

// A BMP of `p`, each pixel `scale` x `scale`.
bool WriteBmp(const std::string& path, const Pixels& p, int scale) {
  const int w = p.width * scale, h = p.height * scale, stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride * h);
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  std::vector<BYTE> rows(static_cast<size_t>(stride * h));
  for (int y = 0; y < h; ++y) {
    BYTE* row = &rows[static_cast<size_t>((h - 1 - y) * stride)];
    for (int x = 0; x < w; ++x) {
      const DWORD c = p.At(x / scale, y / scale);
      row[x * 3] = static_cast<BYTE>(c & 0xFF);
      row[x * 3 + 1] = static_cast<BYTE>((c >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<BYTE>((c >> 16) & 0xFF);
    }
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 &&
                  std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
                  std::fwrite(rows.data(), 1, rows.size(), f) == rows.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: art_preview FOLDER\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "\\";
  const quillorb::SpellAtlases atlases = quillorb::MakeSpellAtlases();
  bool ok = atlases && WriteBmp(dir + "spells.bmp", ReadPixels(atlases.normal.get()), 3) &&
            WriteBmp(dir + "spells_greyed.bmp", ReadPixels(atlases.greyed.get()), 3);
  Pixels strip;
  strip.width = 8 * 29;
  strip.height = 2 * 27;
  strip.px.assign(static_cast<size_t>(strip.width * strip.height), 0);
  for (int row = 0; row < 2; ++row) {
    const COLORREF back = row == 0 ? GetSysColor(COLOR_BTNFACE) : RGB(64, 64, 72);
    const DWORD ground = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    for (int i = 0; i < 8; ++i) {
      const Pixels icon = ReadPixels(quillorb::MakeReagentPicture(i, back).get());
      for (int y = 0; y < 27; ++y) {
        for (int x = 0; x < 29; ++x) {
          const bool inside = x >= 2 && x < 27 && y >= 2 && y < 25;
          strip.px[static_cast<size_t>((row * 27 + y) * strip.width + i * 29 + x)] =
              inside ? icon.At(x - 2, y - 2) : ground;
        }
      }
    }
  }
  ok = ok && WriteBmp(dir + "reagents.bmp", strip, 4);
  if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", argv[1]);
  return ok ? 0 : 1;
}
