#include "graphics/sprite_loading.h"

#include <algorithm>
#include <span>

#include "core/files.h"
#include "core/game_error.h"
#include "core/log.h"
#include "graphics/collision_boxes.h"
#include "graphics/vdp_frame.h"

namespace vdx {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Reads one frame file; throws GameError when it cannot be read.
std::shared_ptr<Surface> ReadFrame(const LoadContext& ctx, const std::string& contentPath,
                                   int width, int height, bool packed,
                                   std::optional<std::uint32_t> key) {
  const auto path = ctx.paths.find(contentPath);
  const auto bytes = path ? ReadWholeFile(*path) : std::nullopt;
  if (!bytes) throw GameError(kErrFileNotFound, "File not found");
  auto surface = std::make_shared<Surface>();
  if (packed) {
    *surface = MakeSurface(width, height);
    const VdpReport report = UnpackVDPFrame(Bytes(*bytes), *surface, height, width);
    if (report.ragged || report.overflow)
      WriteLog(ctx.log, LogOpening::Append,
               {contentPath + (report.ragged ? ": the packed frame ends inside a run; the last run "
                                               "was left out"
                                             : ": the packed frame holds more than the frame; the "
                                               "rest was left out")});
    else if (report.uncovered > 0)
      WriteLog(ctx.log, LogOpening::Append,
               {contentPath + ": the packed frame leaves " + std::to_string(report.uncovered) +
                " pixels unpainted; they show as transparent"});
    surface->colorKey = key;
    MarkDrawnColumns(*surface);
    return surface;
  }
  const auto image = ctx.platform.decodeBmp(Bytes(*bytes));
  if (!image) throw GameError(kErrInvalidPicture, "Invalid picture");
  if (width <= 0 || height <= 0) {
    width = image->width;
    height = image->height;
  }
  *surface = ScaledSurface(*image, width, height);
  surface->colorKey = key;
  MarkDrawnColumns(*surface);
  return surface;
}

void LogLoaderError(const LoadContext& ctx, const char* loader, const std::string& path,
                    const GameError& e) {
  WriteLog(ctx.log, LogOpening::Append,
           {std::string("Error in ") + loader + " " + path,
            std::to_string(e.number()) + " " + e.description()});
}

// The loading bar under the picture: the part to come in blue, the part done in
// red, both outlined in red; shown at once.
void DrawProgress(const LoadContext& ctx, int done, int total) {
  if (ctx.display == nullptr) return;
  Surface& b = ctx.display->backBuffer;
  auto box = [&b](int x0, int x1, std::uint32_t fill) {
    for (int y = 460; y < 470 && y < b.height; ++y)
      for (int x = std::max(0, x0); x < x1 && x < b.width; ++x) {
        const bool edge = y == 460 || y == 469 || x == x0 || x == x1 - 1;
        b.at(x, y) = edge ? 0xFF0000 : fill;
      }
  };
  box(170 + 10 * done, 170 + 10 * total, 0x9696FF);
  box(170, 170 + 10 * done, 0xFF9696);
  PresentFrame(ctx.platform, *ctx.display);
}

// Where a record's frames are, with frames k = 1..count loaded through `read`;
// a folder with fewer files loads what it has and repeats its last frame, so a
// record always has `count` entries.
template <typename Read>
void LoadStrip(std::vector<SharedSurface>& pool, int count, Read read, SharedSurface blank) {
  SharedSurface last = std::move(blank);
  for (int k = 1; k <= count; ++k) {
    if (SharedSurface frame = read(k)) last = std::move(frame);
    pool.push_back(last);
  }
}

}  // namespace

void loadcharacteractions(const LoadContext& ctx, cCharacter& c, FighterFrames& out,
                          std::string_view opponentPath, bool showProgress) {
  out = FighterFrames{};
  const std::string ownSounds = FighterSoundsFolder(c);
  for (const std::string& name : ctx.paths.list(ownSounds))
    out.sounds.push_back(ownSounds + "\\" + name);
  WriteLog(ctx.log, LogOpening::Append, {"Loading Character actions for " + c.Name});

  const int total = static_cast<int>(c.Actions.size());
  int done = 0;
  bool failed = false;
  std::string current;
  const auto emptyBoxes = std::make_shared<const std::vector<cCol>>();
  const std::vector<bool> sharing = ActionsSharingFrames(c);
  std::size_t index = 0;
  for (cAction& a : c.Actions) {
    const bool shares = sharing[index++];
    const bool wide = a.AnimationType == "Grab" || a.bLarge;
    const int width = wide ? kWideFighterFrame : kFighterFrameSize;
    const int count = std::max<int>(0, a.Count);
    a.Offset = static_cast<Long>(out.frames.size() + 1);
    a.smartCollisions.clear();
    const auto blank = std::make_shared<const Surface>([&] {
      Surface s = MakeSurface(width, kFighterFrameSize);
      s.colorKey = 0;
      return s;
    }());
    // An aliased action that comes after the one it names shows those frames
    // (the same rule decides which files the content check looks at).
    const cAction* aliased = shares ? c.Actions.find(a.Alias) : nullptr;
    if (!failed && aliased != nullptr && aliased->Offset >= 1 &&
        aliased->Offset + count - 1 <= static_cast<Long>(out.frames.size())) {
      // The same surfaces and boxes as the action it names.
      for (int k = 0; k < count; ++k) {
        out.frames.push_back(out.frames[aliased->Offset - 1 + k]);
        out.boxes.push_back(out.boxes[aliased->Offset - 1 + k]);
        a.smartCollisions.push_back(*out.boxes.back());
      }
    } else {
      const std::size_t first = out.frames.size();
      if (failed) {
        for (int k = 0; k < count; ++k)
          out.frames.push_back(blank);
      } else {
        try {
          LoadStrip(
              out.frames, count,
              [&](int k) -> SharedSurface {
                current = ActionFramePath(c, a, opponentPath, k);
                if (!ctx.paths.find(current)) return nullptr;  // a short folder: what it has
                return ReadFrame(ctx, current, width, kFighterFrameSize, c.UseVDP, 0u);
              },
              blank);
        } catch (const GameError& e) {
          LogLoaderError(ctx, "loadcharacteractions", ctx.paths.gameDir().string() + current, e);
          failed = true;
          while (out.frames.size() < first + count)
            out.frames.push_back(blank);
        }
      }
      for (std::size_t i = first; i < out.frames.size(); ++i) {
        auto boxes = std::make_shared<std::vector<cCol>>();
        BuildFrameCollisionBoxes(*out.frames[i], a.bLarge, *boxes);
        out.boxes.push_back(out.frames[i] == blank ? emptyBoxes : std::move(boxes));
        a.smartCollisions.push_back(*out.boxes.back());
      }
    }
    ++done;
    if (showProgress) DrawProgress(ctx, done, total);
  }
}

namespace {

// Stage animations and effects load alike: a folder per record under `root`
// named by its Alias, frames Sprites + two digits + ".bmp" at the record's size.
template <typename Record>
void LoadRecordFrames(const LoadContext& ctx, const char* loader, const std::string& root,
                      Collection<Record>& records, FramePool& out) {
  bool failed = false;
  const std::vector<bool> sharing = AnimationsSharingFrames(records);
  std::size_t index = 0;
  for (Record& r : records) {
    const int count = std::max<int>(0, r.Frames);
    const int width = std::max<int>(1, r.Width), height = std::max<int>(1, r.Height);
    const std::uint32_t key = ContentColourToPixel(r.TransColor);
    // The same rule as the content check's: an aliased record that comes after
    // the one it names shows those frames.
    const Record* aliased = sharing[index++] ? records.find(r.Alias) : nullptr;
    const auto first = static_cast<Integer>(std::min<std::size_t>(out.frames.size() + 1, 32767));
    r.Offset = first;
    r.CurFrame = first;
    if (aliased != nullptr && aliased->Offset >= 1 &&
        aliased->Offset - 1 + count <= static_cast<int>(out.frames.size())) {
      for (int k = 0; k < count; ++k)
        out.frames.push_back(out.frames[aliased->Offset - 1 + k]);
      continue;
    }
    const auto blank = std::make_shared<const Surface>([&] {
      Surface s = MakeSurface(width, height, key);
      s.colorKey = key;
      return s;
    }());
    if (failed) {
      for (int k = 0; k < count; ++k)
        out.frames.push_back(blank);
      continue;
    }
    std::string current;
    const std::size_t start = out.frames.size();
    try {
      LoadStrip(
          out.frames, count,
          [&](int k) -> SharedSurface {
            current = RecordFramePath(root, r.Alias, r.Sprites, k);
            if (!ctx.paths.find(current)) return nullptr;
            return ReadFrame(ctx, current, width, height, false, key);
          },
          blank);
    } catch (const GameError& e) {
      LogLoaderError(ctx, loader, ctx.paths.gameDir().string() + current, e);
      failed = true;
      while (out.frames.size() < start + count)
        out.frames.push_back(blank);
    }
  }
}

}  // namespace

void loadstageanims(const LoadContext& ctx, cStage& stage, FramePool& out) {
  out = FramePool{};
  LoadRecordFrames(ctx, "loadstageanims", "\\Stages\\", stage.Animations, out);
}

void loadcharactereffects(const LoadContext& ctx, cCharacter& first, cCharacter& second,
                          FramePool& out) {
  out = FramePool{};
  LoadRecordFrames(ctx, "loadcharactereffects", "\\Effects\\", first.Effects, out);
  if (&second != &first)
    LoadRecordFrames(ctx, "loadcharactereffects", "\\Effects\\", second.Effects, out);
}

SharedSurface LoadPicture(const LoadContext& ctx, std::string_view contentPath, int width,
                          int height, std::optional<std::uint32_t> colorKey) {
  try {
    return ReadFrame(ctx, std::string(contentPath), width, height, false, colorKey);
  } catch (const GameError&) {
    return nullptr;
  }
}

SharedSurface LoadPictureOrLog(const LoadContext& ctx, std::string_view contentPath, int width,
                               int height, std::optional<std::uint32_t> colorKey) {
  SharedSurface picture = LoadPicture(ctx, contentPath, width, height, colorKey);
  if (!picture)
    WriteLog(ctx.log, LogOpening::Append,
             {std::string(contentPath) + ": missing or not a picture"});
  return picture;
}

CharacterPortraits::CharacterPortraits(const LoadContext& ctx,
                                       const Collection<cCharacter>& characters, int width,
                                       int height)
    : ctx_(ctx),
      characters_(characters),
      width_(width),
      height_(height),
      blank_(std::make_shared<const Surface>(MakeSurface(width, height))) {
  WriteLog(ctx.log, LogOpening::New, {"Loading Character Portraits"});
}

SharedSurface CharacterPortraits::get(int entry) {
  if (entry < 1 || static_cast<std::size_t>(entry) > characters_.size() + 1) return nullptr;
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if (it->first != entry) continue;
    std::rotate(it, it + 1, kept_.end());  // now the most recent
    return kept_.back().second;
  }
  const std::string path =
      entry == 1 ? std::string("\\random.bmp")
                 : CharacterPortraitPath(*characters_.at(static_cast<std::size_t>(entry - 1)));
  WriteLog(ctx_.log, LogOpening::Append, {ctx_.paths.gameDir().string() + path});
  SharedSurface p = LoadPictureOrLog(ctx_, path, width_, height_);
  ++decoded_;
  if (kept_.size() == kKept) kept_.erase(kept_.begin());
  kept_.emplace_back(entry, p ? p : blank_);
  return kept_.back().second;
}

std::vector<SharedSurface> LoadStagePortraits(const LoadContext& ctx,
                                              const Collection<cStage>& stages) {
  std::vector<SharedSurface> portraits;
  for (const cStage& s : stages) {
    SharedSurface p = LoadPicture(ctx, StagePortraitPath(s), 300, 224);
    if (!p) p = LoadPicture(ctx, StageBackgroundPath(s), 300, 224);
    portraits.push_back(p ? p : std::make_shared<const Surface>(MakeSurface(300, 224)));
  }
  return portraits;
}

}  // namespace vdx
