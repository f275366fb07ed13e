#include "CSurface.h"

#include <SDL_image.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "DrawList.h"
#include "pixelScale.h"
#include "protocol.h"

Uint32 CSurface::screenColor = 0;
bool CSurface::nightLook = false;

namespace {

// Slot 0: what the game draws on, SDL's window or the canvas.
SDL_Surface* window = nullptr;
// SDL's window: never freed here.
SDL_Surface* shown = nullptr;
// At a scale above 1, the picture that flip enlarges onto the window.
SurfacePtr canvas;
int canvasScale = 1;
// Slots 1.. at index slot - 1: ours.
std::vector<SurfacePtr> pictures;
// By slot, null where a slot has no night picture.
std::vector<SurfacePtr> nightPictures;
// While a frame is recorded, what is drawn on the window goes here instead.
DrawList* recording = nullptr;
unsigned windowChanges = 0;
std::vector<SDL_Rect> sentRects;  // flip's, kept to spare an allocation a frame

}  // namespace

bool CSurface::loadSurfaces(std::vector<std::string> names) {
    for (const std::string& name : names) {
        SurfacePtr loaded(IMG_Load(name.c_str()));
        if (!loaded) {
            fprintf(stderr, "Error: Tried to load %s.  Surface returned NULL", name.c_str());
            return false;
        }
        printf("Loaded %s\n", name.c_str());
        pictures.push_back(toDisplayFormat(std::move(loaded)));
        const size_t loadedSlot = pictures.size();
        nightPictures.resize(loadedSlot + 1);
        // Out of doors and on the facades the night shows; cursors and the
        // interface look the same at any hour.
        if (loadedSlot == slots::TILES || loadedSlot == slots::WALLS) nightPictures[loadedSlot] = loadNightPicture(name);
    }
    if (window) screenColor = SDL_MapRGB(window->format, 0, 0, 0);
    return true;
}

void CSurface::setWindow(SDL_Surface* screen, int scale) {
    ++windowChanges;
    sentRects.reserve(64);  // more than a frame sends, once merged
    shown = screen;
    window = screen;
    canvas.reset();
    canvasScale = 1;
    if (!screen || scale <= 1) return;
    const SDL_PixelFormat* format = screen->format;
    canvas.reset(SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w / scale, screen->h / scale, format->BitsPerPixel,
                                      format->Rmask, format->Gmask, format->Bmask, format->Amask));
    if (!canvas) return;  // drawn unscaled rather than not at all
    window = canvas.get();
    canvasScale = scale;
}

size_t CSurface::slotCount() { return pictures.size() + 1; }

void CSurface::keepSlots(size_t count) {
    const size_t kept = count > 0 ? count - 1 : 0;
    if (pictures.size() > kept) pictures.resize(kept);
    if (nightPictures.size() > count) nightPictures.resize(count);
}

SurfacePtr CSurface::toDisplayFormat(SurfacePtr loaded) {
    if (!loaded) return nullptr;
    return SurfacePtr(SDL_DisplayFormatAlpha(loaded.get()));
}

namespace {

// Pictures with an alpha channel reach the window through run-length encoded
// copies: an encoded blit skips transparent runs and copies opaque ones whole
// instead of blending every pixel, and it blends the translucent ones to the
// same values. Each copy holds only the picture a clip rectangle selects,
// because an encoded blit with a clip walks every encoded row above the
// picture and every run beside it. Copies are made for the window only: an
// encoding fits one destination and is redone whenever a surface is drawn
// somewhere else than the time before (the button bar draws from the sheets
// itself). Pictures with an alpha channel are loaded once and never drawn
// on, so a copy stays true to its sheet.
struct Piece {
    SDL_Rect clip;
    SurfacePtr surface;
};

struct CutSheet {
    // A counted reference (SDL_FreeSurface drops one): a sheet its owner has
    // freed stays allocated while it is cut, so no other surface can take
    // its address and be mistaken for it.
    SurfacePtr sheet;
    std::vector<Piece> pieces;
};

std::vector<CutSheet> cutSheets;
bool copiesOn = true;

bool sameRect(const SDL_Rect& a, const SDL_Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

// Sheets whose owners have freed them are held by this list alone.
void dropFreedSheets() {
    std::vector<CutSheet> kept;
    for (CutSheet& cut : cutSheets)
        if (cut.sheet->refcount > 1) kept.push_back(std::move(cut));
    cutSheets.swap(kept);
}

SDL_Surface* cutOut(SDL_Surface* sheet, const SDL_Rect& clip) {
    const SDL_PixelFormat* format = sheet->format;
    SDL_Surface* piece = SDL_CreateRGBSurface(SDL_SWSURFACE, clip.w, clip.h, format->BitsPerPixel, format->Rmask,
                                              format->Gmask, format->Bmask, format->Amask);
    if (!piece) return nullptr;
    SDL_LockSurface(sheet);
    const size_t rowBytes = static_cast<size_t>(clip.w) * format->BytesPerPixel;
    for (int row = 0; row < clip.h; ++row) {
        const Uint8* from = static_cast<const Uint8*>(sheet->pixels) + (clip.y + row) * sheet->pitch +
                            clip.x * format->BytesPerPixel;
        memcpy(static_cast<Uint8*>(piece->pixels) + row * piece->pitch, from, rowBytes);
    }
    SDL_UnlockSurface(sheet);
    SDL_SetAlpha(piece, SDL_SRCALPHA | SDL_RLEACCEL, SDL_ALPHA_OPAQUE);
    return piece;
}

// The encoded copy of a picture for a 32-bit window, or null to draw from the
// sheet itself: for a sheet without an alpha channel or with a colour key, or
// a clip reaching outside the sheet, whose blit the sheet's own bounds cut.
SDL_Surface* pieceOf(SDL_Surface* sheet, const SDL_Rect& clip, const SDL_Surface* window) {
    const SDL_PixelFormat* format = sheet->format;
    if (window->format->BytesPerPixel != 4 || format->Amask == 0 || !(sheet->flags & SDL_SRCALPHA) ||
        (sheet->flags & SDL_SRCCOLORKEY)) {
        return nullptr;
    }
    if (clip.x < 0 || clip.y < 0 || clip.w == 0 || clip.h == 0 || clip.x + clip.w > sheet->w ||
        clip.y + clip.h > sheet->h) {
        return nullptr;
    }
    CutSheet* cut = nullptr;
    for (CutSheet& candidate : cutSheets)
        if (candidate.sheet.get() == sheet) cut = &candidate;
    if (cut) {
        for (Piece& piece : cut->pieces)
            if (sameRect(piece.clip, clip)) return piece.surface.get();
    } else {
        dropFreedSheets();
        ++sheet->refcount;
        cutSheets.push_back(CutSheet{SurfacePtr(sheet), {}});
        cut = &cutSheets.back();
    }
    SurfacePtr piece(cutOut(sheet, clip));
    if (!piece) return nullptr;
    cut->pieces.push_back(Piece{clip, std::move(piece)});
    return cut->pieces.back().surface.get();
}

}  // namespace

bool CSurface::OnDraw(SDL_Surface* dest, SDL_Surface* src, int x, int y, const SDL_Rect* clip) {
    if (!dest || !src) {
        fputs("Error drawing surfaces: One or more surfaces registered as NULL", stderr);
        return false;
    }
    if (recording && dest == window) {
        recording->draw(src, clip ? *clip : makeRect(0, 0, src->w, src->h), x, y);
        return true;
    }
    blit(dest, src, x, y, clip);
    return true;
}

void CSurface::blit(SDL_Surface* dest, SDL_Surface* src, int x, int y, const SDL_Rect* clip) {
    SDL_Rect where;
    where.x = static_cast<Sint16>(x);
    where.y = static_cast<Sint16>(y);
    where.w = 0;
    where.h = 0;
    if (copiesOn && dest == slot(0)) {
        SDL_Rect whole;
        whole.x = 0;
        whole.y = 0;
        whole.w = static_cast<Uint16>(src->w);
        whole.h = static_cast<Uint16>(src->h);
        if (SDL_Surface* piece = pieceOf(src, clip ? *clip : whole, dest)) {
            SDL_UpperBlit(piece, nullptr, dest, &where);
            return;
        }
    }
    if (clip) {
        SDL_Rect source = *clip;  // the blit shrinks its rectangles; the caller's clip stays as it was
        SDL_UpperBlit(src, &source, dest, &where);
    } else {
        SDL_UpperBlit(src, nullptr, dest, &where);
    }
}

bool CSurface::drawRepainted(SDL_Surface* src, int x, int y) {
    if (!src || !window) return false;
    if (recording) {
        recording->drawRepainted(src, x, y);
        return true;
    }
    return OnDraw(window, src, x, y, nullptr);
}

void CSurface::recordInto(DrawList* list) { recording = list; }

void CSurface::drawItem(const DrawItem& item) {
    if (!window) return;
    if (item.picture) {
        blit(window, item.picture, item.x, item.y, &item.part);
    } else {
        SDL_Rect area = item.part;  // the fill shrinks it to the clip
        SDL_FillRect(window, &area, item.colour);
    }
}

unsigned CSurface::windowChangeCount() { return windowChanges; }

bool CSurface::OnDraw(int dest, int src, int x, int y, const SDL_Rect* clip) {
    return OnDraw(slot(dest), slot(src), x, y, clip);
}

bool CSurface::OnDraw(SDL_Surface* dest, int src, int x, int y, const SDL_Rect* clip) {
    return OnDraw(dest, slot(src), x, y, clip);
}

bool CSurface::OnDraw(int dest, SDL_Surface* src, int x, int y, const SDL_Rect* clip) {
    return OnDraw(slot(dest), src, x, y, clip);
}

SDL_Surface* CSurface::slot(int index) {
    if (index == slots::WINDOW) return window;
    if (index < 0 || static_cast<size_t>(index) > pictures.size()) return nullptr;
    if (nightLook) {
        if (SDL_Surface* night = nightSlot(index)) return night;
    }
    return pictures[static_cast<size_t>(index) - 1].get();
}

SDL_Surface* CSurface::nightSlot(int index) {
    if (index < 0 || static_cast<size_t>(index) >= nightPictures.size()) return nullptr;
    return nightPictures[static_cast<size_t>(index)].get();
}

std::string CSurface::nightName(const std::string& dayName) {
    const size_t slash = dayName.find_last_of('/');
    const size_t dot = dayName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return dayName + "-night";
    return dayName.substr(0, dot) + "-night" + dayName.substr(dot);
}

SurfacePtr CSurface::loadNightPicture(const std::string& dayName) {
    const std::string name = nightName(dayName);
    SurfacePtr picture = toDisplayFormat(loadPNGFile(name.c_str()));
    if (!picture) fprintf(stderr, "No night picture %s; %s keeps its day look", name.c_str(), dayName.c_str());
    return picture;
}

void CSurface::clearScreen() {
    SDL_Surface* screen = slot(0);
    SDL_Rect all;
    all.x = 0;
    all.y = 0;
    all.w = static_cast<Uint16>(resolutionX);
    all.h = static_cast<Uint16>(resolutionY);
    if (recording && screen) {
        recording->fill(screenColor, all);
        return;
    }
    if (!screen || SDL_FillRect(screen, &all, screenColor) != 0) fputs("Clear Screen Failed.", stderr);
}

void CSurface::setScreenColor(int red, int green, int blue) {
    SDL_Surface* screen = slot(0);
    if (!screen) return;
    screenColor = SDL_MapRGB(screen->format, static_cast<Uint8>(red), static_cast<Uint8>(green),
                             static_cast<Uint8>(blue));
}

bool CSurface::flip() {
    if (canvas) pixelScale::enlarge(canvas.get(), shown, canvasScale);
    if (!shown || SDL_Flip(shown) != 0) {
        fputs("Error flipping surface!", stderr);
        return false;
    }
    return true;
}

bool CSurface::flip(const std::vector<SDL_Rect>& rects) {
    if (!shown) {
        fputs("Error flipping surface!", stderr);
        return false;
    }
    const int scale = canvas ? canvasScale : 1;
    sentRects.clear();
    for (const SDL_Rect& rect : rects) {
        if (canvas && !pixelScale::enlarge(canvas.get(), shown, canvasScale, &rect)) return flip();
        SDL_Rect sent = makeRect(rect.x * scale, rect.y * scale, rect.w * scale, rect.h * scale);
        // SDL sends what it is told; only what lies in the window may be.
        if (sent.x + sent.w > shown->w) sent.w = static_cast<Uint16>(std::max(0, shown->w - sent.x));
        if (sent.y + sent.h > shown->h) sent.h = static_cast<Uint16>(std::max(0, shown->h - sent.y));
        if (sent.w > 0 && sent.h > 0) sentRects.push_back(sent);
    }
    if (!sentRects.empty()) SDL_UpdateRects(shown, static_cast<int>(sentRects.size()), sentRects.data());
    return true;
}

bool CSurface::showsParts() { return shown && (shown->flags & SDL_DOUBLEBUF) != SDL_DOUBLEBUF; }

void CSurface::usePictureCopies(bool on) { copiesOn = on; }

void CSurface::prepareCopies(SDL_Surface* sheet, const SDL_Rect* clips, size_t count) {
    SDL_Surface* screen = slot(slots::WINDOW);
    if (!sheet || !screen || !copiesOn) return;
    for (size_t i = 0; i < count; ++i) {
        SDL_Surface* piece = pieceOf(sheet, clips[i], screen);
        if (!piece) continue;
        // A copy is encoded at its first blit to the window: done here, over
        // a corner of the window that is put back as it was.
        const SDL_PixelFormat* format = screen->format;
        SurfacePtr under(SDL_CreateRGBSurface(SDL_SWSURFACE, piece->w, piece->h, format->BitsPerPixel, format->Rmask,
                                              format->Gmask, format->Bmask, format->Amask));
        if (!under) continue;
        SDL_Rect corner = makeRect(0, 0, piece->w, piece->h);
        SDL_BlitSurface(screen, &corner, under.get(), nullptr);
        SDL_Rect at = corner;
        SDL_BlitSurface(piece, nullptr, screen, &at);
        at = corner;
        SDL_BlitSurface(under.get(), nullptr, screen, &at);
    }
}

SurfacePtr CSurface::OnLoad(const char* file) { return toDisplayFormat(SurfacePtr(IMG_Load(file))); }

void CSurface::cleanUp() {
    cutSheets.clear();
    nightPictures.clear();
    pictures.clear();
    // The window belongs to SDL; SDL_Quit releases it.
    setWindow(nullptr);
}

namespace {

Uint32 bigEndian32(const Uint8* bytes) {
    return (Uint32(bytes[0]) << 24) | (Uint32(bytes[1]) << 16) | (Uint32(bytes[2]) << 8) | Uint32(bytes[3]);
}

// Reads width and height from the IHDR chunk, which must follow the signature.
bool pngSizeIsSane(SDL_RWops* stream) {
    const int start = SDL_RWtell(stream);
    Uint8 header[24];
    const bool read = SDL_RWread(stream, header, 1, sizeof header) == static_cast<int>(sizeof header);
    SDL_RWseek(stream, start, RW_SEEK_SET);
    if (!read || header[12] != 'I' || header[13] != 'H' || header[14] != 'D' || header[15] != 'R') return false;
    const Uint32 width = bigEndian32(header + 16);
    const Uint32 height = bigEndian32(header + 20);
    return width >= 1 && height >= 1 && width <= static_cast<Uint32>(CSurface::maxPngSide) &&
           height <= static_cast<Uint32>(CSurface::maxPngSide);
}

}  // namespace

SurfacePtr CSurface::loadPNG(SDL_RWops* stream) {
    if (!stream) return nullptr;
    SurfacePtr image;
    if (IMG_isPNG(stream) && pngSizeIsSane(stream)) image.reset(IMG_LoadPNG_RW(stream));
    SDL_RWclose(stream);
    return image;
}

SurfacePtr CSurface::loadPNGFile(const char* path) { return loadPNG(SDL_RWFromFile(path, "rb")); }
