// Parameter lists: iterative destruction and deep copies.
#include "script/ctcparse_param.h"

CTCPARSE_PARAM::~CTCPARSE_PARAM() {
  std::unique_ptr<CTCPARSE_PARAM> rest = std::move(next);
  while (rest) rest = std::move(rest->next);
}

CTCPARSE_PARAM::CTCPARSE_PARAM(const CTCPARSE_PARAM& other) : type(other.type), name(other.name) {
  next = copy_param_list(other.next.get());
}

std::unique_ptr<CTCPARSE_PARAM> CTCPARSE_INT::clone_one() const {
  auto copy = std::make_unique<CTCPARSE_INT>(value);
  copy->name = name;
  return copy;
}

std::unique_ptr<CTCPARSE_PARAM> CTCPARSE_FLOAT::clone_one() const {
  auto copy = std::make_unique<CTCPARSE_FLOAT>(value);
  copy->name = name;
  return copy;
}

std::unique_ptr<CTCPARSE_PARAM> CTCPARSE_STRING::clone_one() const {
  auto copy = std::make_unique<CTCPARSE_STRING>(value);
  copy->name = name;
  return copy;
}

std::unique_ptr<CTCPARSE_PARAM> copy_param_list(const CTCPARSE_PARAM* first) {
  std::unique_ptr<CTCPARSE_PARAM> head;
  std::unique_ptr<CTCPARSE_PARAM>* tail = &head;
  for (const CTCPARSE_PARAM* p = first; p != nullptr; p = p->next.get()) {
    *tail = p->clone_one();
    tail = &(*tail)->next;
  }
  return head;
}
