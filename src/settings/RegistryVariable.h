#pragma once
// Settings as small objects: each reads its value from the program's
// settings when created and stores it when destroyed. The owner reads and
// writes Value directly; nothing is stored before destruction unless
// WriteValue is called, and nothing at all when StoreOnFree is cleared.
// A missing or malformed stored value gives the default (and is
// overwritten with the right type when the object goes).
#include <QString>
#include <cstdint>

class TRegistryVariable {
public:
  explicit TRegistryVariable(QString valueName);
  virtual ~TRegistryVariable(); // removes the value when DeleteOnFree is set
  TRegistryVariable(const TRegistryVariable&) = delete;
  TRegistryVariable& operator=(const TRegistryVariable&) = delete;

  // Stores the value now; false (with a warning in the log) when the
  // settings could not be written.
  virtual bool WriteValue() const = 0;

  const QString& ValueName() const { return valueName_; }

  // When true, destroying the object removes its stored value.
  bool DeleteOnFree = false;
  // When false, destroying the object leaves the store as it is (a run
  // that must never change the user's settings).
  bool StoreOnFree = true;

protected:
  bool StoreValue(const QVariant& value) const;

private:
  QString valueName_;
};

// Stored as an integer 0 or 1; any non-zero integer reads as true.
class TRegistryBoolean : public TRegistryVariable {
public:
  TRegistryBoolean(QString valueName, bool defaultValue);
  ~TRegistryBoolean() override;
  bool WriteValue() const override;

  bool Value;
};

class TRegistryInteger : public TRegistryVariable {
public:
  TRegistryInteger(QString valueName, std::int32_t defaultValue);
  ~TRegistryInteger() override;
  bool WriteValue() const override;

  std::int32_t Value;
};

class TRegistryString : public TRegistryVariable {
public:
  TRegistryString(QString valueName, QString defaultValue);
  ~TRegistryString() override;
  bool WriteValue() const override;

  QString Value;
};
