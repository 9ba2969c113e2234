#!/usr/bin/env bash
# exports.sh LIBRARY HEADER: the shared library exports every function the C header declares, and none of
# the internal C++ classes (the C interface's own helpers, the printer's monitor, the device protocol).
set -euo pipefail
lib=$1
header=$2
symbols=$(nm -D --defined-only "$lib" | awk '{print $3}')
missing=0
for name in $(grep -o 'PRELIX10_C_API[^;]*' "$header" | tr '\n' ' ' | grep -o 'prelix10_[a-z0-9_]*(' | tr -d '('); do
  grep -qx "$name" <<<"$symbols" || { echo "not exported: $name"; missing=1; }
done
demangled=$(c++filt <<<"$symbols")
# A symbol belongs to a class when its own name is in the class (members, vtable, type information), not
# when the class only appears among a public function's parameters.
owner='^((vtable|typeinfo|typeinfo name|VTT|construction vtable) for )?'
for internal in 'Prelix10::CApi' 'Prelix10::PollingMonitor' 'Prelix10::PrinterControl' 'Prelix10::DiscoveryParser' \
                'Prelix10::SerialQueue' 'Prelix10::PrinterDelegateManager'; do
  if grep -Eq "$owner$internal(::|\$)" <<<"$demangled"; then
    echo "exported but internal: $internal"; grep -E "$owner$internal(::|\$)" <<<"$demangled" | head -3; missing=1
  fi
done
for public in 'Prelix10::OrvoPrinter::create' 'Prelix10::Prelix10Error::' 'Prelix10::VelmarCommand::PrinterBuilder::' \
              'Prelix10::CloudFirmwareFunction::setConfiguration' 'Prelix10::Prelix10DiagInfoUpload::shared'; do
  grep -q "$public" <<<"$demangled" || { echo "public class not exported: $public"; missing=1; }
done
[ "$missing" = 0 ] && echo "exports: $(grep -c '^prelix10_' <<<"$symbols") C functions, internals hidden"
exit "$missing"
