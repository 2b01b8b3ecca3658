#include "overlays/GpxReader.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace {
// Attribute values longer than this are not coordinates.
constexpr qsizetype kMaxValueChars = 99;
// Far beyond any coordinate; keeps the float conversion and the projection
// arithmetic away from overflow.
constexpr double kMaxCoordinate = 1e6;
// Skipped points listed one by one; the rest are counted in one line.
constexpr int kListedBadPoints = 10;
// Characters of a bad value quoted in its log line.
constexpr qsizetype kQuotedChars = 24;

// Element and attribute names are compared by their local part and in any
// letter case, so "gpx:trkpt", "trkpt" and "TRKPT" are one name.
bool IsNamed(QStringView name, QLatin1StringView wanted)
{
  return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

std::optional<QStringView> Attribute(const QXmlStreamAttributes& attributes, QLatin1StringView name)
{
  for (const QXmlStreamAttribute& a : attributes)
    if (IsNamed(a.name(), name))
      return a.value();
  return std::nullopt;
}

std::optional<double> ParseNumber(QStringView text)
{
  text = text.trimmed();
  if (text.startsWith(u'+'))
    text = text.mid(1);
  if (text.isEmpty() || text.size() > kMaxValueChars)
    return std::nullopt;
  std::string ascii;
  ascii.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    if (c.unicode() > 0x7F)
      return std::nullopt;
    ascii.push_back(static_cast<char>(c.unicode()));
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size() || !(std::fabs(value) <= kMaxCoordinate))
    return std::nullopt;
  return value;
}

std::string Quoted(QStringView value)
{
  const bool cut = value.size() > kQuotedChars;
  return "\"" + value.left(kQuotedChars).toString().toStdString() + (cut ? "..." : "") + "\"";
}

std::string Plural(std::int64_t count, const char* one, const char* many)
{
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

class TGpxReader {
public:
  TGpxReader(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments, const TGpxLimits& limits)
      : bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()))),
        xml_(bytes_), segments_(segments), limits_(limits), segmentsBefore_(segments.size())
  {
    xml_.setNamespaceProcessing(false);  // an undeclared prefix is no reason to refuse a track
    xml_.setEntityExpansionLimit(limits.EntityExpansion);
  }

  TCartogReadStatus Read()
  {
    bool reading = true;
    while (reading && !xml_.atEnd()) {
      switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement: reading = StartElement(); break;
        case QXmlStreamReader::EndElement: EndElement(); break;
        case QXmlStreamReader::DTD: reading = CheckEntities(); break;
        default: break;
      }
    }
    if (reading && xml_.hasError())
      Stop(Where() + xml_.errorString().toStdString() + " Reading stopped there; " +
           Plural(SegmentsRead(), "track segment", "track segments") + " before it kept.");
    if (badPoints_ > kListedBadPoints)
      status_.log.push_back("GPX: " + Plural(badPoints_ - kListedBadPoints, "more track point", "more track points") +
                            " skipped");
    if (status_.ok && SegmentsRead() == 0)
      status_.log.push_back("GPX: no track segment with points in the file");
    return std::move(status_);
  }

private:
  std::string Where() const
  {
    return "GPX line " + std::to_string(xml_.lineNumber()) + ", column " + std::to_string(xml_.columnNumber()) +
           ": ";
  }
  std::int64_t SegmentsRead() const { return static_cast<std::int64_t>(segments_.size() - segmentsBefore_); }

  void Stop(const std::string& why)
  {
    status_.ok = false;
    status_.error = why;
    status_.log.push_back(why);
  }

  bool StartElement()
  {
    if (++depth_ > limits_.Depth) {
      Stop(Where() + "elements nested deeper than " + std::to_string(limits_.Depth) +
           " levels; reading stopped there.");
      return false;
    }
    const QStringView name = xml_.name();
    if (IsNamed(name, QLatin1StringView("trkseg"))) {
      if (!segment_) {  // a segment inside a segment continues the outer one
        segment_.emplace();
        segment_->SegType = 1;
        segmentDepth_ = depth_;
      }
    } else if (IsNamed(name, QLatin1StringView("trkpt")) && segment_ && pointDepth_ == 0) {
      pointDepth_ = depth_;
      return ReadPoint();
    }
    return true;
  }

  void EndElement()
  {
    if (pointDepth_ == depth_)
      pointDepth_ = 0;
    if (segment_ && segmentDepth_ == depth_)
      CloseSegment();
    --depth_;
  }

  void CloseSegment()
  {
    if (segment_->Count() > 0) {
      segment_->WrapLonBounds();
      segments_.push_back(std::move(*segment_));
    }
    segment_.reset();
  }

  bool ReadPoint()
  {
    if (points_ >= limits_.Points) {
      // The points up to the limit are sound: the segment they belong to is kept.
      CloseSegment();
      Stop(Where() + "more than " + std::to_string(limits_.Points) + " track points; the rest of the file is not read.");
      return false;
    }
    const QXmlStreamAttributes attributes = xml_.attributes();
    const auto latText = Attribute(attributes, QLatin1StringView("lat"));
    const auto lonText = Attribute(attributes, QLatin1StringView("lon"));
    if (!latText || !lonText) {
      SkipPoint(!latText ? "it has no lat" : "it has no lon");
      return true;
    }
    const auto lat = ParseNumber(*latText);
    const auto lon = ParseNumber(*lonText);
    if (!lat || !lon) {
      SkipPoint(!lat ? "lat " + Quoted(*latText) + " is not a coordinate" : "lon " + Quoted(*lonText) + " is not a coordinate");
      return true;
    }
    segment_->AddPoint(static_cast<float>(*lon), static_cast<float>(*lat));
    ++points_;
    return true;
  }

  void SkipPoint(const std::string& why)
  {
    if (++badPoints_ <= kListedBadPoints)
      status_.log.push_back("GPX line " + std::to_string(xml_.lineNumber()) + ": track point skipped: " + why);
  }

  // Qt expands the internal entities a document type declaration declares,
  // each reference up to the per-reference limit. What all references
  // together could expand to is checked here, before any is expanded.
  bool CheckEntities()
  {
    const QXmlStreamEntityDeclarations declarations = xml_.entityDeclarations();
    if (declarations.isEmpty())
      return true;
    status_.log.push_back(Where() + "the document declares " + Plural(declarations.size(), "entity", "entities") +
                          "; each may expand to at most " + std::to_string(limits_.EntityExpansion) + " characters");
    std::int64_t longest = 0;
    for (const QXmlStreamEntityDeclaration& d : declarations) {
      if (!d.systemId().isEmpty() || !d.publicId().isEmpty())
        continue;  // external entities are never fetched
      const std::int64_t own = d.value().contains(u'&') ? limits_.EntityExpansion : d.value().size();
      longest = std::max(longest, std::min<std::int64_t>(own, limits_.EntityExpansion));
    }
    const auto references = static_cast<std::int64_t>(std::count(bytes_.begin(), bytes_.end(), '&'));
    if (longest > 0 && references > limits_.EntityText / longest) {
      Stop(Where() + "its " + Plural(references, "entity reference", "entity references") +
           " could expand to " + std::to_string(references * longest) + " characters, more than " +
           std::to_string(limits_.EntityText) + "; reading stopped there.");
      return false;
    }
    return true;
  }

  QByteArray bytes_;
  QXmlStreamReader xml_;
  std::vector<TLineSegment>& segments_;
  const TGpxLimits& limits_;
  const std::size_t segmentsBefore_;
  TCartogReadStatus status_;
  std::optional<TLineSegment> segment_;
  int depth_ = 0;
  int segmentDepth_ = 0;
  int pointDepth_ = 0;  // depth of the open <trkpt>, 0 when none is open
  std::int64_t points_ = 0;
  std::int64_t badPoints_ = 0;
};
}  // namespace

TCartogReadStatus ReadGpxTracks(std::span<const std::uint8_t> data, std::vector<TLineSegment>& segments,
                                const TGpxLimits& limits)
{
  return TGpxReader(data, segments, limits).Read();
}
