#include "drawing/Graphics.h"
#include "host/Files.h"
#include "state/Game.h"
#include <new>
#include <optional>
#include <utility>

namespace {
void Report(Game& g, const std::string& text) {
    g.host.dialogs->MsgBox(text, MsgStyle::Ok, g.texts.WindowTitle);
}

// The decoder's picture, if it is a whole one we can hold.
std::optional<Picture> DecodeFile(Game& g, const std::string& path) {
    if (!g.host.pictures) return std::nullopt;
    try {
        std::optional<Picture> p = g.host.pictures->Decode(path);
        if (!p || p->Width <= 0 || p->Height <= 0 ||
            p->Pixels.size() != static_cast<size_t>(p->Width) * static_cast<size_t>(p->Height))
            return std::nullopt;
        return p;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
} // namespace

void LoadSurface(Game& g, Surface& s) {
    if (!FileExists(s.FileName)) return; // missing pictures are simply not shown
    FreeSurface(s);
    std::optional<Picture> p = DecodeFile(g, s.FileName);
    if (!p) {
        Report(g, "不能打开文件 " + s.FileName + "!");
        return;
    }
    s.Width = p->Width;
    s.Height = p->Height;
    s.Pixels = std::move(p->Pixels);
}

Surface NewSurface(Game& g, int width, int height) {
    Surface s;
    try {
        s = NewBlankSurface(width, height);
    } catch (const std::bad_alloc&) {
        s = Surface{};
    }
    if (s.Empty()) Report(g, "内存错误!");
    return s;
}

void TileBackground(Game& g) {
    Surface& bg = g.gfx.surfBgFile;
    Surface& table = g.gfx.surfBackground;
    const int w = bg.Width, h = bg.Height;
    // Nothing to tile (the file has gone or could not be read): the table keeps what it had.
    if (!bg.Empty() && w > 0 && h > 0) {
        // Tiles are only needed where the surface is; the last row and column are cut at its edge.
        for (int y = 0; y < table.Height; y += h)
            for (int x = 0; x < table.Width; x += w)
                Blit(table, x, y, w, h, bg, 0, 0, Rop::Copy);
    }
    FreeSurface(bg);
}
