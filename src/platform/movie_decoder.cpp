#include "platform/movie_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/files.h"

namespace vdx::platform {
namespace {

// A movie file opened by us and read by FFmpeg through our own descriptor:
// FFmpeg's own opening of a path would wait for ever on a pipe named like the
// movie, where OpenRegularFile refuses anything but a regular file at once.
class MovieInput {
 public:
  MovieInput() = default;
  MovieInput(const MovieInput&) = delete;
  MovieInput& operator=(const MovieInput&) = delete;
  ~MovieInput() {
    avformat_close_input(&format_);
    if (io_ != nullptr) av_freep(&io_->buffer);
    avio_context_free(&io_);
    if (fd_ >= 0) ::close(fd_);
  }

  // False when the file is not a regular file or not a container FFmpeg knows.
  bool open(const std::string& path) {
    std::string problem;
    fd_ = OpenRegularFile(path, problem);
    if (fd_ < 0) return false;
    constexpr int kBufferSize = 64 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer == nullptr) return false;
    io_ = avio_alloc_context(buffer, kBufferSize, 0, this, &Read, nullptr, &Seek);
    if (io_ == nullptr) {
      av_free(buffer);
      return false;
    }
    format_ = avformat_alloc_context();
    if (format_ == nullptr) return false;
    format_->pb = io_;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The name still gives FFmpeg its first guess of the format. On failure
    // FFmpeg frees the context (not our reader).
    return avformat_open_input(&format_, path.c_str(), nullptr, nullptr) == 0;
  }

  AVFormatContext* format() const { return format_; }

 private:
  static int Read(void* opaque, std::uint8_t* bytes, int size) {
    const int fd = static_cast<MovieInput*>(opaque)->fd_;
    ssize_t got = ::read(fd, bytes, static_cast<std::size_t>(size));
    while (got < 0 && errno == EINTR)
      got = ::read(fd, bytes, static_cast<std::size_t>(size));
    if (got < 0) return AVERROR(errno);
    if (got == 0) return AVERROR_EOF;
    return static_cast<int>(got);
  }

  static std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    const int fd = static_cast<MovieInput*>(opaque)->fd_;
    if (whence & AVSEEK_SIZE) {
      struct stat status {};
      return ::fstat(fd, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<std::int64_t>(at);
  }

  int fd_ = -1;
  AVIOContext* io_ = nullptr;
  AVFormatContext* format_ = nullptr;
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A movie's sound, decoded whole to 16-bit stereo 44100 Hz and wrapped as WAV.
std::vector<std::uint8_t> DecodeSoundTrack(const std::string& path) {
  constexpr int kRate = 44100;
  constexpr std::size_t kLimit = 64u << 20;  // a sound track longer than six minutes is cut
  MovieInput input;
  if (!input.open(path)) return {};
  AVFormatContext* format = input.format();
  std::vector<std::uint8_t> pcm;
  AVCodecContext* codec = nullptr;
  SwrContext* resampler = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  const int stream = avformat_find_stream_info(format, nullptr) >= 0
                         ? av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0)
                         : -1;
  if (stream >= 0 && packet != nullptr && frame != nullptr) {
    const AVCodec* decoder = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
    codec = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    if (codec != nullptr &&
        avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) >= 0 &&
        avcodec_open2(codec, decoder, nullptr) >= 0) {
      AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
      if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, kRate, &codec->ch_layout,
                              codec->sample_fmt, codec->sample_rate, 0, nullptr) == 0 &&
          swr_init(resampler) == 0) {
        auto drain = [&]() {
          while (avcodec_receive_frame(codec, frame) == 0) {
            const int room = swr_get_out_samples(resampler, frame->nb_samples);
            if (room <= 0) continue;
            std::vector<std::uint8_t> out(static_cast<std::size_t>(room) * 4);
            std::uint8_t* planes[1] = {out.data()};
            const int made = swr_convert(resampler, planes, room,
                                         const_cast<const std::uint8_t**>(frame->extended_data),
                                         frame->nb_samples);
            if (made > 0 && pcm.size() < kLimit)
              pcm.insert(pcm.end(), out.begin(), out.begin() + made * 4);
          }
        };
        // Reading stops at the limit: the rest would be decoded only to be dropped.
        while (pcm.size() < kLimit && av_read_frame(format, packet) >= 0) {
          if (packet->stream_index == stream && avcodec_send_packet(codec, packet) == 0) drain();
          av_packet_unref(packet);
        }
        avcodec_send_packet(codec, nullptr);
        drain();
      }
    }
  }
  swr_free(&resampler);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&codec);
  if (pcm.empty()) return {};
  std::vector<std::uint8_t> wav;
  for (char c : std::string("RIFF"))
    wav.push_back(static_cast<std::uint8_t>(c));
  Put32(wav, static_cast<std::uint32_t>(36 + pcm.size()));
  for (char c : std::string("WAVEfmt "))
    wav.push_back(static_cast<std::uint8_t>(c));
  Put32(wav, 16);
  Put16(wav, 1);
  Put16(wav, 2);
  Put32(wav, kRate);
  Put32(wav, kRate * 4);
  Put16(wav, 4);
  Put16(wav, 16);
  for (char c : std::string("data"))
    wav.push_back(static_cast<std::uint8_t>(c));
  Put32(wav, static_cast<std::uint32_t>(pcm.size()));
  wav.insert(wav.end(), pcm.begin(), pcm.end());
  return wav;
}

class FfmpegMovie : public Movie {
 public:
  ~FfmpegMovie() override {
    sws_freeContext(scaler_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
  }

  bool open(const std::string& path) {
    path_ = path;
    if (!input_.open(path)) return false;
    format_ = input_.format();
    if (avformat_find_stream_info(format_, nullptr) < 0) return false;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream_ < 0) return false;
    const AVCodecParameters* parameters = format_->streams[stream_]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (decoder == nullptr) return false;
    codec_ = avcodec_alloc_context3(decoder);
    if (codec_ == nullptr || avcodec_parameters_to_context(codec_, parameters) < 0 ||
        avcodec_open2(codec_, decoder, nullptr) < 0)
      return false;
    if (codec_->width <= 0 || codec_->height <= 0 || codec_->width > 8192 || codec_->height > 8192)
      return false;
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (frame_ == nullptr || packet_ == nullptr) return false;
    const AVStream* s = format_->streams[stream_];
    timeBase_ = av_q2d(s->time_base);
    const AVRational rate = s->avg_frame_rate.num > 0 ? s->avg_frame_rate : s->r_frame_rate;
    frameRate_ = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 25.0;
    if (format_->duration > 0)
      duration_ = static_cast<double>(format_->duration) / AV_TIME_BASE;
    else if (s->duration > 0)
      duration_ = static_cast<double>(s->duration) * timeBase_;
    return true;
  }

  int width() const override { return codec_->width; }
  int height() const override { return codec_->height; }
  double duration() const override { return duration_; }
  double frameRate() const override { return frameRate_; }

  bool nextFrame(Image& out, double& seconds) override {
    while (true) {
      const int received = avcodec_receive_frame(codec_, frame_);
      if (received == 0) return convert(out, seconds);
      if (received == AVERROR_EOF) return false;
      if (received != AVERROR(EAGAIN)) return false;
      if (ended_) {
        avcodec_send_packet(codec_, nullptr);  // drain what the decoder holds
        continue;
      }
      const int read = av_read_frame(format_, packet_);
      if (read < 0) {
        ended_ = true;
        continue;
      }
      if (packet_->stream_index == stream_) avcodec_send_packet(codec_, packet_);
      av_packet_unref(packet_);
    }
  }

  std::vector<std::uint8_t> soundTrack() override { return DecodeSoundTrack(path_); }

  bool rewind() override {
    if (av_seek_frame(format_, stream_, 0, AVSEEK_FLAG_BACKWARD) < 0) return false;
    avcodec_flush_buffers(codec_);
    ended_ = false;
    frames_ = 0;
    return true;
  }

 private:
  bool convert(Image& out, double& seconds) {
    const std::int64_t pts = frame_->best_effort_timestamp != AV_NOPTS_VALUE
                                 ? frame_->best_effort_timestamp
                                 : frame_->pts;
    seconds = pts != AV_NOPTS_VALUE ? pts * timeBase_ : frames_ / frameRate_;
    ++frames_;
    const int w = frame_->width, h = frame_->height;
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return false;
    scaler_ = sws_getCachedContext(scaler_, w, h, static_cast<AVPixelFormat>(frame_->format), w, h,
                                   AV_PIX_FMT_BGR0, SWS_POINT, nullptr, nullptr, nullptr);
    if (scaler_ == nullptr) return false;
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<std::size_t>(w) * h);
    std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(out.pixels.data()), nullptr, nullptr,
                               nullptr};
    int strides[4] = {w * 4, 0, 0, 0};
    sws_scale(scaler_, frame_->data, frame_->linesize, 0, h, planes, strides);
    for (std::uint32_t& p : out.pixels)
      p &= 0x00FFFFFF;
    return true;
  }

  std::string path_;
  MovieInput input_;
  AVFormatContext* format_ = nullptr;  // input_'s
  AVCodecContext* codec_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* scaler_ = nullptr;
  int stream_ = -1;
  double timeBase_ = 0, frameRate_ = 25, duration_ = 0;
  bool ended_ = false;
  std::int64_t frames_ = 0;
};

}  // namespace

std::unique_ptr<Movie> OpenMovieFile(const std::string& path) {
  av_log_set_level(AV_LOG_QUIET);
  auto movie = std::make_unique<FfmpegMovie>();
  if (!movie->open(path)) return nullptr;
  return movie;
}

}  // namespace vdx::platform
