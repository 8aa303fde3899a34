#include "documents/document_host.h"

#include "documents/description.h"
#include "numerics/errors.h"

namespace kestrova {

void TDocumentHost::SetTimeStep(Extended value, int32_t unit) {
  state_.TimeStep = value;
  state_.TimeUnit = unit;
}

void TDocumentHost::SetMonitorPosition(int32_t left, int32_t top) {
  state_.MonitorLeft = left;
  state_.MonitorTop = top;
}

void TDocumentHost::ClearDescription() {
  kestrova::ClearDescription(DescriptionText());
  SetDescriptionVisible(false);
}

void TDocumentHost::WriteDescription(ValueWriter& writer) {
  kestrova::WriteDescription(DescriptionText(), writer, DescriptionFolder());
}

void TDocumentHost::ReadDescription(ValueReader& reader) {
  kestrova::ReadDescription(DescriptionText(), reader, DescriptionFolder());
}

void TDocumentHost::LoadDescriptionFile(const std::string& path) {
  if (kestrova::LoadDescriptionFile(DescriptionText(), path)) SetDescriptionVisible(true);
}

QTextDocument& TDocumentHost::DescriptionText() {
  throw EKestrovaError("This window keeps no description.");
}

std::filesystem::path TDocumentHost::DescriptionFolder() {
  throw EKestrovaError("This window keeps no description.");
}

}  // namespace kestrova
