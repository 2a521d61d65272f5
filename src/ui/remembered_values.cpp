#include "ui/remembered_values.hpp"

#include <QCoreApplication>
#include <QSettings>
#include <algorithm>
#include <memory>

#include "ui/form.hpp"

namespace tesmara::ui {

namespace {

// One file per user, also on Windows, where Qt would otherwise use the registry.
std::unique_ptr<QSettings> openStore() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Tesmara"), QStringLiteral("tesmara"));
}

void writeValues(QSettings& store, const Operation& op, const FormValues& values) {
    for (const Field& f : op.fields) {
        store.setValue(QStringLiteral("fields/") + qtText(f.name),
                       qtText(fieldText(values.fields, f.name)));
    }
    store.setValue(QStringLiteral("header"), values.header.value_or(false));
    store.setValue(QStringLiteral("trailer"), values.trailer.value_or(false));
}

// Only what is there and of the right kind; anything else stays as it is.
FormValues readValues(const QSettings& store, const Operation& op) {
    FormValues values;
    for (const Field& f : op.fields) {
        const QVariant text = store.value(QStringLiteral("fields/") + qtText(f.name));
        if (text.typeId() == QMetaType::QString) {
            values.fields[std::string(f.name)] = text.toString().toStdString();
        }
    }
    const auto box = [&](const QString& key) -> std::optional<bool> {
        const QString text = store.value(key).toString();
        if (text == QStringLiteral("true") || text == QStringLiteral("false")) {
            return text == QStringLiteral("true");
        }
        return std::nullopt;
    };
    values.header = box(QStringLiteral("header"));
    values.trailer = box(QStringLiteral("trailer"));
    return values;
}

constexpr int kMostPresets = 1000;

QString lastGroup(const Operation& op) {
    return QStringLiteral("last/") + qtText(op.id);
}

QString presetsArray(const Operation& op) {
    return QStringLiteral("presets/") + qtText(op.id);
}

struct Preset {
    QString name;
    FormValues values;
};

std::vector<Preset> readPresets(QSettings& store, const Operation& op) {
    std::vector<Preset> presets;
    // A damaged count must not send the loop through millions of empty entries.
    const int size = std::min(store.beginReadArray(presetsArray(op)), kMostPresets);
    for (int i = 0; i < size; ++i) {
        store.setArrayIndex(i);
        const QString name = store.value(QStringLiteral("name")).toString();
        if (!name.isEmpty()) {
            presets.push_back({name, readValues(store, op)});
        }
    }
    store.endArray();
    return presets;
}

void writePresets(QSettings& store, const Operation& op, const std::vector<Preset>& presets) {
    store.remove(presetsArray(op));
    store.beginWriteArray(presetsArray(op), static_cast<int>(presets.size()));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        store.setArrayIndex(static_cast<int>(i));
        store.setValue(QStringLiteral("name"), presets[i].name);
        writeValues(store, op, presets[i].values);
    }
    store.endArray();
}

}  // namespace

std::unique_ptr<QSettings> RememberedValues::usableStore() {
    if (m_failed) {
        return nullptr;
    }
    auto store = openStore();
    if (store->status() != QSettings::NoError) {
        m_failed = true;
        m_reason = store->status();
        return nullptr;
    }
    return store;
}

void RememberedValues::finish(QSettings& store) {
    store.sync();
    if (store.status() != QSettings::NoError) {
        m_failed = true;
        m_reason = store.status();
    }
}

void RememberedValues::saveLast(const Operation& op, const FormValues& values) {
    if (auto store = usableStore()) {
        store->remove(lastGroup(op));
        store->beginGroup(lastGroup(op));
        writeValues(*store, op, values);
        store->endGroup();
        finish(*store);
    }
}

std::optional<FormValues> RememberedValues::last(const Operation& op) {
    auto store = usableStore();
    if (!store) {
        return std::nullopt;
    }
    store->beginGroup(lastGroup(op));
    const bool any = !store->childKeys().isEmpty() || !store->childGroups().isEmpty();
    FormValues values = readValues(*store, op);
    store->endGroup();
    return any ? std::optional(values) : std::nullopt;
}

QStringList RememberedValues::presetNames(const Operation& op) {
    QStringList names;
    if (auto store = usableStore()) {
        for (const Preset& p : readPresets(*store, op)) {
            names.append(p.name);
        }
    }
    return names;
}

void RememberedValues::savePreset(const Operation& op, const QString& name,
                                  const FormValues& values) {
    auto store = usableStore();
    if (!store) {
        return;
    }
    std::vector<Preset> presets = readPresets(*store, op);
    const auto same = std::find_if(presets.begin(), presets.end(),
                                   [&](const Preset& p) { return p.name == name; });
    if (same != presets.end()) {
        same->values = values;
    } else {
        presets.push_back({name, values});
    }
    writePresets(*store, op, presets);
    finish(*store);
}

std::optional<FormValues> RememberedValues::preset(const Operation& op, const QString& name) {
    if (auto store = usableStore()) {
        for (const Preset& p : readPresets(*store, op)) {
            if (p.name == name) {
                return p.values;
            }
        }
    }
    return std::nullopt;
}

void RememberedValues::removePreset(const Operation& op, const QString& name) {
    auto store = usableStore();
    if (!store) {
        return;
    }
    std::vector<Preset> presets = readPresets(*store, op);
    std::erase_if(presets, [&](const Preset& p) { return p.name == name; });
    writePresets(*store, op, presets);
    finish(*store);
}

std::optional<QString> RememberedValues::takeProblem() {
    if (!m_failed || m_problemTold) {
        return std::nullopt;
    }
    m_problemTold = true;
    const QString file = openStore()->fileName();
    return m_reason == QSettings::FormatError
               ? QCoreApplication::translate("RememberedValues",
                                             "记住的值和预设已损坏，本次运行不再使用：%1")
                     .arg(file)
               : QCoreApplication::translate("RememberedValues",
                                             "无法读写记住的值和预设，本次运行不再使用：%1")
                     .arg(file);
}

RememberedValues& rememberedValues() {
    static RememberedValues values;
    return values;
}

}  // namespace tesmara::ui
