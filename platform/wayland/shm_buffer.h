// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace quelmo {

// A wl_buffer in shared memory (an anonymous memfd), seen from our side as a
// QImage over the same bytes. The compositor reads it after a commit until it
// releases it; `busy` tells which.
class ShmBuffer {
  public:
    // `format` is a wl_shm format; ARGB8888 and XRGB8888 map onto Qt's
    // premultiplied ARGB32 and RGB32, the two byte orders of each also to
    // Qt's RGBA formats. `stride` 0 means width × 4. Null on failure or for
    // a format without a QImage counterpart.
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, QSize pixels, std::uint32_t format,
                                             int stride = 0);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return buffer_; }
    // The pixels; the image shares the buffer's memory.
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    QSize size() const { return image_.size(); }

    bool busy() const { return busy_; }
    // Called when the buffer is handed to the compositor.
    void markBusy() { busy_ = true; }

    static QImage::Format imageFormat(std::uint32_t shmFormat);

  private:
    ShmBuffer() = default;
    wl_buffer* buffer_ = nullptr;
    void* data_ = nullptr;
    std::size_t bytes_ = 0;
    QImage image_;
    bool busy_ = false;
};

} // namespace quelmo
