// The owning lists and the object and line blocks of documents.
#include "model/object_lists.h"

#include <utility>

#include "model/astronomical_objects.h"
#include "streams/value_stream.h"

namespace kestrova {

EListError::EListError(int32_t index)
    : EKestrovaError(Format("List index out of bounds (%d)", index)) {}

template <class T>
TOwningList<T>::TOwningList() = default;

template <class T>
TOwningList<T>::~TOwningList() {
  Clear();
}

template <class T>
T& TOwningList<T>::Get(int32_t i) const {
  if (i < 0 || i >= Count()) throw EListError(i);
  return *items_[static_cast<size_t>(i)];
}

template <class T>
T& TOwningList<T>::Add(std::unique_ptr<T> item) {
  items_.push_back(std::move(item));
  ++changes_;
  return *items_.back();
}

template <class T>
void TOwningList<T>::Delete(int32_t i) {
  if (i < 0 || i >= Count()) throw EListError(i);
  items_.erase(items_.begin() + static_cast<ptrdiff_t>(i));
}

template <class T>
void TOwningList<T>::Clear() {
  while (!items_.empty()) items_.pop_back();
  // A catalogue's list held over a million pointers: its room goes too.
  items_.shrink_to_fit();
  ++changes_;
}

template class TOwningList<TOEObject>;
template class TOwningList<TSatellite>;
template class TOwningList<TDirection>;

void TOEObjectList::RemoveByName(const std::string& name) {
  for (size_t i = items_.size(); i-- > 0;) {
    if (items_[i]->Name == name) {
      items_.erase(items_.begin() + static_cast<ptrdiff_t>(i));
      ++changes_;
    }
  }
}

void TOEObjectList::CalculateAll(Extended jd) {
  for (const auto& item : items_) item->Calculate(jd);
}

void TOEObjectList::WriteList(ValueWriter& writer) const {
  writer.WriteInteger(Count());
  for (const auto& item : items_) {
    const TOEObject& o = *item;
    writer.WriteString(o.Name);
    writer.WriteInteger(static_cast<int32_t>(o.Color));
    writer.WriteBoolean(o.Visible);
    writer.WriteInteger(o.Id);
    const TOrbitalElements& e = o.Elements;
    for (Extended x : {e.Epoch, e.Inclination, e.Node, e.PerihelionLongitude, e.SemiMajorAxis,
                       e.DailyMotion, e.Eccentricity, e.MeanLongitude}) {
      writer.WriteFloat(x);
    }
    writer.WriteFloat(o.Pos.x);
    writer.WriteFloat(o.Pos.y);
    writer.WriteFloat(o.Pos.z);
  }
}

void TOEObjectList::ReadList(ValueReader& reader) {
  ReadAny(reader, BlockForm::Current);
}
void TOEObjectList::ReadList15(ValueReader& reader) {
  ReadAny(reader, BlockForm::V15);
}
void TOEObjectList::ReadList10(ValueReader& reader) {
  ReadAny(reader, BlockForm::V10);
}

void TOEObjectList::ReadAny(ValueReader& reader, BlockForm form) {
  Clear();
  TOEObject scratch("", TOrbitalElements{}, 0, kScratchId);
  // The count comes from the file: nothing is reserved by it, and a count larger than the
  // data ends with the stream's read error at the end of the data.
  const int32_t n = reader.ReadInteger("Count");
  for (int32_t i = 0; i < n; ++i) {
    const TMeaningScope item(reader, [i] { return Format("[%d]", i); });
    scratch.Name = reader.ReadString("Name");
    scratch.Color = static_cast<TColor>(reader.ReadInteger("Color"));
    scratch.Visible = reader.ReadBoolean("Visible");
    scratch.Id = form == BlockForm::V10 ? kMinorBodyId : reader.ReadInteger("Id");
    TOrbitalElements& e = scratch.Elements;
    {
      const TMeaningScope elements(reader, "Elements");
      e.Epoch = reader.ReadFloat("Epoch");
      e.Inclination = reader.ReadFloat("Inclination");
      e.Node = reader.ReadFloat("Node");
      e.PerihelionLongitude = reader.ReadFloat("PerihelionLongitude");
      e.SemiMajorAxis = reader.ReadFloat("SemiMajorAxis");
      e.DailyMotion = reader.ReadFloat("DailyMotion");
      e.Eccentricity = reader.ReadFloat("Eccentricity");
      e.MeanLongitude = reader.ReadFloat("MeanLongitude");
    }
    if (form == BlockForm::Current) {
      // Stored positions are read past: every position is recomputed.
      reader.SkipFloat("Pos.x");
      reader.SkipFloat("Pos.y");
      reader.SkipFloat("Pos.z");
    }
    if (scratch.Id >= kEarth && scratch.Id <= kPluto) {
      Add(std::make_unique<TPlanet>(scratch.Id, scratch.Color));
      reader.Note("read as the standard planet of this Id with the stored colour");
    } else if (scratch.Id != kMinorBodyId) {
      reader.Note("dropped: the Id is neither a planet nor a minor body");
    } else if (const char* problem = OrbitProblem(scratch.Elements)) {
      // A body whose elements are no orbit (a damaged or hand-made document) would have
      // no position at all; it is left out.
      if (reader.Tracing()) reader.Note(std::string("dropped: ") + problem);
    } else {
      Add(std::make_unique<TAsteroid>(scratch.Name, scratch.Elements, scratch.Color));
    }
  }
}

void TFullList::Reserve(size_t n) {
  orbits_.Reserve(n);
  if (n < pos_.capacity() / 2) pos_.shrink_to_fit();
  pos_.reserve(n);
}

void TFullList::Add(const TOrbitalElements& elements) {
  orbits_.Append(elements);
  pos_.push_back({});
  ++changes_;
}

void TFullList::Clear() {
  orbits_.Release();
  // A catalogue's positions took tens of megabytes: their room goes too.
  std::vector<TVectorD>().swap(pos_);
  ++changes_;
}

void TDirection::Assign(const TDirection& other) {
  FromId = other.FromId;
  ToId = other.ToId;
  Color = other.Color;
  Visible = other.Visible;
}

void TDirection::WriteLine(ValueWriter& writer) const {
  writer.WriteInteger(FromId);
  writer.WriteInteger(ToId);
  writer.WriteInteger(static_cast<int32_t>(Color));
  writer.WriteBoolean(Visible);
}

void TDirection::ReadLine(ValueReader& reader) {
  FromId = reader.ReadInteger("FromId");
  ToId = reader.ReadInteger("ToId");
  Color = static_cast<TColor>(reader.ReadInteger("Color"));
  Visible = reader.ReadBoolean("Visible");
}

void TDirectionList::AssignList(const TDirectionList& other) {
  // Copies first, so that a list handed itself keeps its lines.
  std::vector<std::unique_ptr<TDirection>> copies;
  for (const auto& line : other.items_) {
    copies.push_back(std::make_unique<TDirection>(line->FromId, line->Color, line->ToId));
  }
  Clear();
  items_ = std::move(copies);
  ++changes_;
}

void TDirectionList::WriteList(ValueWriter& writer) const {
  writer.WriteInteger(Count());
  for (const auto& line : items_) line->WriteLine(writer);
}

void TDirectionList::ReadList(ValueReader& reader) {
  Clear();
  const int32_t n = reader.ReadInteger("Count");
  for (int32_t i = 0; i < n; ++i) {
    const TMeaningScope item(reader, [i] { return Format("[%d]", i); });
    auto line = std::make_unique<TDirection>(kSun, 0, kEarth);
    line->ReadLine(reader);
    Add(std::move(line));
  }
}

}  // namespace kestrova
