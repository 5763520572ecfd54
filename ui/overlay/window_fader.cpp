// SPDX-License-Identifier: MIT
#include "ui/overlay/window_fader.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace quelmo {

WindowFader::WindowFader(QObject* parent) : QObject(parent) {}

WindowFader::~WindowFader() {
    stop();
}

void WindowFader::fade(const std::vector<QWidget*>& windows, qreal target,
                       std::chrono::milliseconds duration, bool animate, Done done) {
    stop();
    if (!animate || duration.count() <= 0) {
        for (QWidget* window : windows) {
            window->setWindowOpacity(target);
        }
        if (done) {
            done();
        }
        return;
    }
    auto* group = new QParallelAnimationGroup(this);
    for (QWidget* window : windows) {
        auto* animation = new QPropertyAnimation(window, "windowOpacity", group);
        animation->setDuration(static_cast<int>(duration.count()));
        animation->setStartValue(window->windowOpacity());
        animation->setEndValue(target);
        animation->setEasingCurve(QEasingCurve::InOutQuad);
        group->addAnimation(animation);
    }
    connect(group, &QAbstractAnimation::finished, this, [this, group, done = std::move(done)] {
        // Only a group that ran to its end reports; a stopped one is deleted
        // by stop() without this running.
        if (group_ == group) {
            group_.clear();
        }
        group->deleteLater();
        if (done) {
            done();
        }
    });
    group_ = group;
    group->start();
}

void WindowFader::stop() {
    if (QParallelAnimationGroup* group = group_) {
        group_.clear();
        group->disconnect(this);
        group->stop();
        group->deleteLater();
    }
}

bool WindowFader::isRunning() const {
    return group_ != nullptr;
}

} // namespace quelmo
