// SPDX-License-Identifier: MIT
#pragma once

#include "platform/login/login_item.h"

#include <QObject>
#include <QString>

namespace quelmo {

// The login item as the views call it: set(on) gives the error text, or an
// empty text on success; isEnabled() reads the real state.
class LoginItemObject : public QObject {
    Q_OBJECT

  public:
    explicit LoginItemObject(LoginItem item, QObject* parent = nullptr)
        : QObject(parent), item_(std::move(item)) {}

    Q_INVOKABLE QString set(bool on) const { return item_.set(on).value_or(QString()); }
    Q_INVOKABLE bool isEnabled() const { return item_.isEnabled(); }

    const LoginItem& item() const { return item_; }

  private:
    LoginItem item_;
};

} // namespace quelmo
