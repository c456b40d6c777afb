#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>

namespace srk {

// Values of the bound names a filter may use ("BRW1::Sort3:Reset:MED:Media"). Names ignore case.
class BoundValues {
public:
    void set(const QString& name, const QVariant& value) { m_values.insert(name.toUpper(), value); }
    void remove(const QString& name) { m_values.remove(name.toUpper()); }
    std::optional<QVariant> value(const QString& name) const {
        const auto it = m_values.constFind(name.toUpper());
        if (it == m_values.constEnd())
            return std::nullopt;
        return *it;
    }

private:
    QHash<QString, QVariant> m_values;
};

}  // namespace srk
