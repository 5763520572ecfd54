// SPDX-License-Identifier: MIT
#include "platform/signal/signal_report_parser.h"

#include "core/number_text.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <string>

namespace quelmo {

namespace {

bool isAllObjects(const QJsonArray& array) {
    for (const QJsonValue& v : array) {
        if (!v.isObject())
            return false;
    }
    return true;
}

void readDevice(const QJsonObject& device, SignalReadings& result) {
    const QJsonValue minor = device.value(QLatin1String("device_minorType"));
    if (!minor.isString() || minor.toString() != QLatin1String("Headphones"))
        return;
    const QJsonValue rssiValue = device.value(QLatin1String("device_rssi"));
    if (!rssiValue.isString())
        return; // a JSON number is not accepted
    const std::optional<double> rssi = parseRssiText(rssiValue.toString().toStdString());
    if (!rssi)
        return;
    const QJsonValue address = device.value(QLatin1String("device_address"));
    if (!address.isString())
        return;
    result[address.toString().toStdString()] = *rssi;
}

} // namespace

std::optional<double> parseRssiText(std::string_view text) {
    // Zero or above is not a signal strength, and neither is -inf.
    const std::optional<double> value = usableNumberFromText(text);
    if (!value || !(*value < 0.0))
        return std::nullopt;
    return value;
}

SignalReadings parseSignalReport(std::string_view bytes) {
    SignalReadings result;
    if (bytes.empty())
        return result;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return result;
    const QJsonValue controllersValue =
        document.object().value(QLatin1String("SPBluetoothDataType"));
    if (!controllersValue.isArray())
        return result;
    const QJsonArray controllers = controllersValue.toArray();
    if (!isAllObjects(controllers))
        return result;
    for (const QJsonValue& controller : controllers) {
        const QJsonValue connectedValue =
            controller.toObject().value(QLatin1String("device_connected"));
        if (!connectedValue.isArray())
            continue;
        const QJsonArray connected = connectedValue.toArray();
        if (!isAllObjects(connected))
            continue;
        for (const QJsonValue& entry : connected) {
            const QJsonObject devices = entry.toObject();
            for (auto it = devices.begin(); it != devices.end(); ++it) {
                if (it.value().isObject())
                    readDevice(it.value().toObject(), result);
            }
        }
    }
    return result;
}

} // namespace quelmo
