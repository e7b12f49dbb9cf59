// The values of a parsed script call: a singly linked list of integer, float
// and string parameters. A parameter owns the rest of the list after it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CTCPARSE_PARAM {
 public:
  static constexpr int kInt = 0;
  static constexpr int kFloat = 1;
  static constexpr int kString = 2;

  // Destroys this parameter and every parameter after it (without recursion,
  // so a list of any length is safe).
  virtual ~CTCPARSE_PARAM();

  CTCPARSE_PARAM& operator=(const CTCPARSE_PARAM&) = delete;

  // Returns a copy of this parameter alone, without the rest of the list.
  virtual std::unique_ptr<CTCPARSE_PARAM> clone_one() const = 0;

  std::unique_ptr<CTCPARSE_PARAM> next;  // next parameter of the same call
  int type;                              // kInt, kFloat or kString
  std::string name;                      // the variable it came from, or "" for none

 protected:
  explicit CTCPARSE_PARAM(int param_type) : type(param_type) {}
  // Copies type and name and the whole remaining list, each as its own type.
  CTCPARSE_PARAM(const CTCPARSE_PARAM& other);
};

class CTCPARSE_INT : public CTCPARSE_PARAM {
 public:
  explicit CTCPARSE_INT(std::int32_t v = 0) : CTCPARSE_PARAM(kInt), value(v) {}
  CTCPARSE_INT(const CTCPARSE_INT& other) = default;  // copies the remaining list too
  std::unique_ptr<CTCPARSE_PARAM> clone_one() const override;

  std::int32_t value;
};

class CTCPARSE_FLOAT : public CTCPARSE_PARAM {
 public:
  explicit CTCPARSE_FLOAT(float v = 0.0f) : CTCPARSE_PARAM(kFloat), value(v) {}
  CTCPARSE_FLOAT(const CTCPARSE_FLOAT& other) = default;  // copies the remaining list too
  std::unique_ptr<CTCPARSE_PARAM> clone_one() const override;

  float value;
};

class CTCPARSE_STRING : public CTCPARSE_PARAM {
 public:
  explicit CTCPARSE_STRING(std::string v = {}) : CTCPARSE_PARAM(kString), value(std::move(v)) {}
  CTCPARSE_STRING(const CTCPARSE_STRING& other) = default;  // copies the remaining list too
  std::unique_ptr<CTCPARSE_PARAM> clone_one() const override;

  std::string value;
};

// Returns a copy of the whole list starting at `first` (nullptr for none).
std::unique_ptr<CTCPARSE_PARAM> copy_param_list(const CTCPARSE_PARAM* first);
