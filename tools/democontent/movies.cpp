#include "movies.h"

#include <cmath>

#include "fighter_frames.h"
#include "moves.h"
#include "screens.h"

namespace democontent {
namespace {

// The lowest caption of a movie (of 240 rows, shown at twice the size) stays
// above the last rows of the screen, where the game writes its wait message
// over the movie's last picture.
constexpr double kLowCaptionY = 192;

Image Frame(const Character& c, const std::string& action, int frame) {
  for (const ActionSpec& a : ActionsFor(c.fighter, c.special))
    if (a.name == action) return RenderActionFrame(c, a, std::min(frame, a.count - 1));
  return Image(kFrameSize, kFrameSize);
}

void Caption(const Font& font, Image& img, const std::string& text, double size, double y, Rgb top,
             Rgb bottom, double alpha) {
  font.draw(img, text, (img.width - font.measure(text, size)) / 2.0, y, size, top, bottom, 2,
            alpha);
}

}  // namespace

std::vector<Image> TitleMovie(const Font& font, const std::vector<Character>& roster) {
  std::vector<Image> frames;
  const int count = 4 * kMovieFps;
  for (int i = 0; i < count; ++i)
    frames.push_back(MakeTitleFrame(font, roster, double(i) / (count - 1)));
  return frames;
}

std::vector<Image> EventMovie(const Font& font, const Character& c, const std::string& caption,
                              bool good) {
  std::vector<Image> frames;
  const int count = 2 * kMovieFps;
  const Rgb black{};
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / (count - 1);
    Image img(320, 240);
    VerticalGradient(img, 0, 240, good ? Hex(0x402010) : Hex(0x101830),
                     good ? Hex(0xC06020) : Hex(0x304060));
    const Image pose =
        Resized(good ? Frame(c, "Sexuality", 5) : Frame(c, "KO", 2 + (i / 4) % 3), 200, 200);
    Paste(img, pose, 60, 40 + static_cast<int>(10 * std::sin(t * 6)), &black);
    Caption(font, img, caption, 30 + 8 * (1 - std::min(1.0, t * 3)), 16,
            good ? Hex(0xFFF0A0) : Hex(0xD0E0FF), good ? Hex(0xFF7030) : Hex(0x6080C0),
            std::min(1.0, t * 3));
    Caption(font, img, c.fighter.name, 16, kLowCaptionY, Hex(0xFFFFFF), Hex(0xC0C0C0), 1.0);
    frames.push_back(img);
  }
  return frames;
}

std::vector<Image> VersusMovie(const Font& font, const Character& a, const Character& b, int rung) {
  std::vector<Image> frames;
  const int count = 2 * kMovieFps;
  const Rgb black{};
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / (count - 1);
    Image img(320, 240);
    VerticalGradient(img, 0, 240, Hex(0x100818), Hex(0x402040));
    const double in = std::min(1.0, t * 2.5);
    Paste(img, Resized(Frame(a, "Standing", i % 4), 150, 150), static_cast<int>(-150 + in * 160),
          70, &black);
    Paste(img, Resized(Frame(b, "Standing", i % 4), 150, 150), static_cast<int>(320 - in * 160), 70,
          &black, true);
    Caption(font, img, "FIGHT " + std::to_string(rung), 18, 10, Hex(0xFFFFFF), Hex(0xC0C0C0), 1);
    Caption(font, img, "VS", 44, 90, Hex(0xFFE080), Hex(0xE04020), in);
    Caption(font, img, a.fighter.name + " - " + b.fighter.name, 18, kLowCaptionY, Hex(0xFFFFFF),
            Hex(0xC0C0C0), 1);
    frames.push_back(img);
  }
  return frames;
}

std::vector<Image> EndingMovie(const Font& font, const Character& c) {
  std::vector<Image> frames;
  const int count = 3 * kMovieFps;
  const Rgb black{};
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / (count - 1);
    Image img(320, 240);
    VerticalGradient(img, 0, 240, Hex(0x201000), Mix(Hex(0x603010), Hex(0xF0B040), t));
    Glow(img, {160, 120}, 150, c.glow, 0.5 + 0.5 * t);
    Paste(img, Resized(Frame(c, "Sexuality", 5), 190, 190), 65, 40, &black);
    Caption(font, img, "CHAMPION", 34, 12, Hex(0xFFF8D0), Hex(0xFFB040), std::min(1.0, t * 2));
    Caption(font, img, c.fighter.name + " climbed the whole ladder", 14, kLowCaptionY,
            Hex(0xFFFFFF), Hex(0xE0E0E0), 1);
    frames.push_back(img);
  }
  return frames;
}

}  // namespace democontent
