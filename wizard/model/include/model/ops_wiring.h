// Carwright's wizard wired to the real work: the OperationLauncher that the
// model calls on page 4 (the request built from the model's state by
// PerformOperation, shown on the model's view), and the PackageHeaderSource
// that reads package headers through the DEVUZA package layer.
#pragma once

#include <string_view>
#include <utility>

#include "model/operation_launcher.h"
#include "model/package_header_source.h"
#include "ops/operations.h"

namespace wizard {

class OpsOperationLauncher : public OperationLauncher {
 public:
  explicit OpsOperationLauncher(RunServices services = DefaultRunServices())
      : services_(std::move(services)) {}

  // Runs the operation with PerformOperation, its errors in error boxes titled
  // 10000 "Error".
  RunOutcome Launch(const WizardState& state, const CarVariants& variants, RunView& view,
                    Language language) override;

  // The outcome of the last run.
  const RunOutcome& LastOutcome() const { return last_; }

 private:
  RunServices services_;
  RunOutcome last_;
};

class DevuzaHeaderSource : public PackageHeaderSource {
 public:
  // Reads the header of the package file at `path` with the package layer
  // (mode 1); valid only when its magic and version were accepted.
  PackageHeaderInfo ReadPackageHeader(std::string_view path) override;
};

}  // namespace wizard
