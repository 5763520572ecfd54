// SPDX-License-Identifier: MIT
#include "platform/wayland/shm_buffer.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

namespace quelmo {

QImage::Format ShmBuffer::imageFormat(std::uint32_t shmFormat) {
    // wl_shm formats name the bytes of a little-endian 32-bit word from the
    // most significant down, as QImage's 32-bit formats do; the RGBA ones
    // of QImage name bytes in memory order instead.
    switch (shmFormat) {
    case WL_SHM_FORMAT_ARGB8888:
        return QImage::Format_ARGB32_Premultiplied;
    case WL_SHM_FORMAT_XRGB8888:
        return QImage::Format_RGB32;
    case WL_SHM_FORMAT_ABGR8888:
        return QImage::Format_RGBA8888_Premultiplied;
    case WL_SHM_FORMAT_XBGR8888:
        return QImage::Format_RGBX8888;
    default:
        return QImage::Format_Invalid;
    }
}

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, QSize pixels, std::uint32_t format,
                                             int stride) {
    const QImage::Format imageFormat = ShmBuffer::imageFormat(format);
    if (shm == nullptr || pixels.isEmpty() || imageFormat == QImage::Format_Invalid) {
        return nullptr;
    }
    if (stride == 0) {
        stride = pixels.width() * 4;
    }
    if (stride < pixels.width() * 4) {
        return nullptr;
    }
    const std::size_t bytes = static_cast<std::size_t>(stride) * pixels.height();
    const int fd = memfd_create("quelmo-frost", MFD_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    if (ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        close(fd);
        return nullptr;
    }
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> self(new ShmBuffer);
    self->data_ = data;
    self->bytes_ = bytes;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<std::int32_t>(bytes));
    self->buffer_ =
        wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride, format);
    wl_shm_pool_destroy(pool);
    close(fd);
    static const wl_buffer_listener listener = {
        [](void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy_ = false; }};
    wl_buffer_add_listener(self->buffer_, &listener, self.get());
    self->image_ =
        QImage(static_cast<uchar*>(data), pixels.width(), pixels.height(), stride, imageFormat);
    return self;
}

ShmBuffer::~ShmBuffer() {
    image_ = QImage();
    if (buffer_ != nullptr) {
        wl_buffer_destroy(buffer_);
    }
    if (data_ != nullptr) {
        munmap(data_, bytes_);
    }
}

} // namespace quelmo
