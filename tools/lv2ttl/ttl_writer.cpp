#include "tools/lv2ttl/ttl_writer.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "lv2/bundle_names.h"
#include "lv2/port_index.h"

namespace velmora::lv2ttl {
namespace {

const char kPrefixes[] =
    "@prefix atom:  <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix time:  <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n\n";

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
    }
    quoted += c;
  }
  return quoted + "\"";
}

std::string Iri(const std::string& iri) {
  return "<" + iri + ">";
}

// Whole numbers as decimals, so hosts read them as floats, the type of a control port.
std::string Decimal(double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.1f", value);
  return text;
}

// The unit of a VST 2 unit label; a label LV2 has no unit for gets one of its own.
std::string UnitFor(const std::string& label) {
  if (label == "%") {
    return "units:pc";
  }
  if (label == "Hz") {
    return "units:hz";
  }
  if (label == "dB") {
    return "units:db";
  }
  return "[ a units:Unit ; rdfs:label " + Quoted(label) + " ; units:symbol " + Quoted(label) +
         " ; units:render " + Quoted("%f " + label) + " ]";
}

void WriteAudioPort(std::ostream& out, uint32_t index, bool input, const char* symbol,
                    const char* name) {
  out << "    [\n        a lv2:AudioPort , " << (input ? "lv2:InputPort" : "lv2:OutputPort")
      << " ;\n        lv2:index " << index << " ;\n        lv2:symbol " << Quoted(symbol)
      << " ;\n        lv2:name " << Quoted(name) << " ;\n    ] ,\n";
}

// Two-valued enumerations ("No", "Yes") are switches; longer ones are lists to choose from.
void WriteControlPort(std::ostream& out, uint32_t index, const ParamDescription& param) {
  const bool toggle = param.enumeration && param.scalePoints.size() == 2;
  out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n"
      << "        lv2:index " << index << " ;\n"
      << "        lv2:symbol " << Quoted(param.symbol) << " ;\n"
      << "        lv2:name " << Quoted(param.name) << " ;\n"
      << "        lv2:default " << param.defaultValue << " ;\n"
      << "        lv2:minimum " << param.minimum << " ;\n"
      << "        lv2:maximum " << param.maximum << " ;\n"
      << "        lv2:portProperty lv2:integer";
  if (toggle) {
    out << " , lv2:toggled";
  } else if (param.enumeration) {
    out << " , lv2:enumeration";
  }
  out << " ;\n";
  if (!param.label.empty()) {
    out << "        units:unit " << UnitFor(param.label) << " ;\n";
  }
  for (const ScalePoint& point : param.scalePoints) {
    out << "        lv2:scalePoint [ rdfs:label " << Quoted(point.label) << " ; rdf:value "
        << point.value << " ] ;\n";
  }
  out << "    ] ,\n";
}

void WriteAtomPorts(std::ostream& out) {
  out << "    [\n        a atom:AtomPort , lv2:InputPort ;\n"
      << "        atom:bufferType atom:Sequence ;\n"
      << "        atom:supports time:Position ;\n"
      << "        lv2:portProperty lv2:connectionOptional ;\n"
      << "        lv2:designation lv2:control ;\n"
      << "        lv2:index " << lv2::kPortTime << " ;\n"
      << "        lv2:symbol \"time\" ;\n"
      << "        lv2:name \"Time\" ;\n    ] ,\n"
      << "    [\n        a atom:AtomPort , lv2:OutputPort ;\n"
      << "        atom:bufferType atom:Sequence ;\n"
      << "        lv2:portProperty lv2:connectionOptional ;\n"
      << "        lv2:index " << lv2::kPortNotify << " ;\n"
      << "        lv2:symbol \"notify\" ;\n"
      << "        lv2:name \"Display\" ;\n    ] .\n";
}

void WriteUi(std::ostream& out) {
  out << "\n"
      << Iri(lv2::kUiUri) << "\n"
      << "    a ui:X11UI ;\n"
      << "    lv2:requiredFeature urid:map , ui:parent , ui:idleInterface ;\n"
      << "    lv2:optionalFeature ui:resize , ui:touch , ui:noUserResize , opts:options ;\n"
      // Hosts that pass only the options a UI declares send the display scale only then.
      << "    opts:supportedOption ui:scaleFactor ;\n"
      << "    lv2:extensionData ui:idleInterface ;\n"
      << "    ui:portNotification [\n"
      << "        ui:plugin " << Iri(lv2::kPluginUri) << " ;\n"
      << "        lv2:symbol \"notify\" ;\n"
      << "        ui:protocol atom:eventTransfer\n    ] .\n";
}

}  // namespace

std::string PresetUri(int number) {
  char digits[16];
  std::snprintf(digits, sizeof(digits), "%02d", number);
  return std::string(lv2::kPresetUriPrefix) + digits;
}

std::string ManifestTtl(const PluginDescription& plugin, bool withUi) {
  std::ostringstream out;
  out << kPrefixes;
  out << Iri(lv2::kPluginUri) << "\n    a lv2:Plugin ;\n    lv2:binary " << Iri(lv2::kDspBinary)
      << " ;\n    rdfs:seeAlso <velmora.ttl> .\n";
  if (withUi) {
    out << "\n"
        << Iri(lv2::kUiUri) << "\n    a ui:X11UI ;\n    ui:binary " << Iri(lv2::kUiBinary)
        << " ;\n    rdfs:seeAlso <velmora.ttl> .\n";
  }
  for (size_t p = 0; p < plugin.presets.size(); ++p) {
    out << "\n"
        << Iri(PresetUri(static_cast<int>(p) + 1)) << "\n    a pset:Preset ;\n"
        << "    lv2:appliesTo " << Iri(lv2::kPluginUri) << " ;\n"
        << "    rdfs:label " << Quoted(plugin.presets[p].name) << " ;\n"
        << "    rdfs:seeAlso <presets.ttl> .\n";
  }
  return out.str();
}

std::string PluginTtl(const PluginDescription& plugin, bool withUi) {
  std::ostringstream out;
  out << kPrefixes;
  out << Iri(lv2::kPluginUri) << "\n"
      << "    a lv2:Plugin , lv2:DelayPlugin , doap:Project ;\n"
      << "    doap:name " << Quoted(plugin.name) << " ;\n"
      << "    doap:maintainer [ foaf:name " << Quoted(plugin.vendor) << " ] ;\n"
      << "    lv2:minorVersion 0 ;\n    lv2:microVersion 0 ;\n"
      << "    lv2:optionalFeature urid:map ;\n";
  if (withUi) {
    out << "    ui:ui " << Iri(lv2::kUiUri) << " ;\n";
  }
  out << "    lv2:port\n";
  WriteAudioPort(out, lv2::kPortInputLeft, true, "in_left", "Input Left");
  WriteAudioPort(out, lv2::kPortInputRight, true, "in_right", "Input Right");
  WriteAudioPort(out, lv2::kPortOutputLeft, false, "out_left", "Output Left");
  WriteAudioPort(out, lv2::kPortOutputRight, false, "out_right", "Output Right");
  for (size_t i = 0; i < plugin.params.size(); ++i) {
    WriteControlPort(out, lv2::ParamPort(static_cast<int>(i)), plugin.params[i]);
  }
  WriteAtomPorts(out);
  if (withUi) {
    WriteUi(out);
  }
  return out.str();
}

std::string PresetsTtl(const PluginDescription& plugin) {
  std::ostringstream out;
  out << kPrefixes;
  for (size_t p = 0; p < plugin.presets.size(); ++p) {
    const PresetDescription& preset = plugin.presets[p];
    out << Iri(PresetUri(static_cast<int>(p) + 1)) << "\n    a pset:Preset ;\n"
        << "    lv2:appliesTo " << Iri(lv2::kPluginUri) << " ;\n"
        << "    rdfs:label " << Quoted(preset.name) << " ;\n    lv2:port";
    for (size_t i = 0; i < preset.values.size() && i < plugin.params.size(); ++i) {
      out << (i == 0 ? " " : " , ") << "[\n        lv2:symbol " << Quoted(plugin.params[i].symbol)
          << " ;\n        pset:value " << Decimal(preset.values[i]) << "\n    ]";
    }
    out << " .\n\n";
  }
  return out.str();
}

}  // namespace velmora::lv2ttl
