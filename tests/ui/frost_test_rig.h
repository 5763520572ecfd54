// SPDX-License-Identifier: MIT
#pragma once

#include "ui/overlay/frost_overlay.h"
#include "ui/overlay/frost_window.h"

#include <QLabel>
#include <QTest>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace quelmo::test {

// A frost whose screen pictures are plain grey (counted) and whose fades,
// when on, last a few tens of milliseconds.
struct FrostRig {
    explicit FrostRig(bool withFades = false)
        : fades(withFades),
          overlay(FrostOverlay::Options{std::chrono::milliseconds(30),
                                        std::chrono::milliseconds(40),
                                        [this] { return this->fades; },
                                        [this](FrostWindow&) {
                                            ++pictures;
                                            QImage picture(16, 9, QImage::Format_RGB32);
                                            picture.fill(QColor(128, 128, 128));
                                            return picture;
                                        }}) {}

    bool fades;
    int pictures = 0;
    FrostOverlay overlay;

    bool allShown() const {
        for (const auto& window : overlay.windows()) {
            if (!window->isVisible() || window->windowOpacity() != 1.0) {
                return false;
            }
        }
        return !overlay.windows().empty();
    }
    bool noneVisible() const {
        for (const auto& window : overlay.windows()) {
            if (window->isVisible()) {
                return false;
            }
        }
        return true;
    }
    // (title, hint) of every window.
    std::vector<std::pair<QString, QString>> texts() const {
        std::vector<std::pair<QString, QString>> out;
        for (const auto& labels : overlay.labels()) {
            out.emplace_back(labels.title->text(), labels.hint->text());
        }
        return out;
    }
    std::vector<const FrostWindow*> windowIdentities() const {
        std::vector<const FrostWindow*> out;
        for (const auto& window : overlay.windows()) {
            out.push_back(window.get());
        }
        return out;
    }
};

} // namespace quelmo::test
