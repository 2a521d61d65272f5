#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "operations/operation.hpp"

namespace tesmara::ui {

// What a form holds: the field texts and the two check boxes. A value that is
// missing is left as it is when the form is filled.
struct FormValues {
    FieldValues fields;
    std::optional<bool> header;
    std::optional<bool> trailer;
};

// The operator's remembered values, per user and across runs, in Qt's user
// settings: the texts of each window's last Generate and its named presets.
// A store that cannot be read gives nothing; `problem` says why, once.
class RememberedValues {
public:
    void saveLast(const Operation& op, const FormValues& values);
    std::optional<FormValues> last(const Operation& op);

    QStringList presetNames(const Operation& op);
    void savePreset(const Operation& op, const QString& name, const FormValues& values);
    std::optional<FormValues> preset(const Operation& op, const QString& name);
    void removePreset(const Operation& op, const QString& name);

    // The reason the store could not be used, the first time it fails in this
    // run; nothing after that or while it works.
    std::optional<QString> takeProblem();

private:
    std::unique_ptr<QSettings> usableStore();
    void finish(QSettings& store);

    bool m_problemTold = false;
    bool m_failed = false;
    QSettings::Status m_reason = QSettings::NoError;
};

// The one store of the run, so that a damaged store is reported only once.
RememberedValues& rememberedValues();

}  // namespace tesmara::ui
