#include "platform/movie_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cstring>

namespace vdx::platform {
namespace {

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
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return {};
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
        while (av_read_frame(format, packet) >= 0) {
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
  avformat_close_input(&format);
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
    avformat_close_input(&format_);
  }

  bool open(const std::string& path) {
    path_ = path;
    if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) != 0) return false;
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
  AVFormatContext* format_ = nullptr;
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
