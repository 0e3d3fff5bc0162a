#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the print queues the printing tests print to: a CUPS daemon with a cups-pdf queue named
# PDF, made the default, TovanelRejects, which refuses every job, and TovanelSecond, a second
# queue that takes jobs like PDF (for choosing a queue other than the default). Jobs arrive as PDF
# files in the job owner's ~/PDF/. Needs root and the
# packages cups and printer-driver-cups-pdf; a queue that is already there is kept.
# Exit status 0 when the queue is ready; otherwise 1 and the reason on standard error (the test
# is then skipped and says why).
set -uo pipefail
queue=PDF

# Poppler's cairo back end keeps the text of the printed sheets as text; the default back end
# turns the glyphs into pictures, and the PDF that arrives can no longer be read back.
renderer=pdftops-renderer-default=pdftocairo

if [ "$(id -u)" -ne 0 ]; then
  if lpstat -p "$queue" >/dev/null 2>&1; then
    exit 0
  fi
  echo "printqueue: not root, no print queue set up" >&2
  exit 1
fi
if [ ! -x /usr/sbin/cupsd ] || ! command -v lpadmin >/dev/null; then
  echo "printqueue: CUPS is not installed (packages cups, printer-driver-cups-pdf)" >&2
  exit 1
fi
ppd=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
if [ ! -e /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd ]; then
  echo "printqueue: the cups-pdf driver is not installed (package printer-driver-cups-pdf)" >&2
  exit 1
fi

if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  mkdir -p /run/cups
  /usr/sbin/cupsd || { echo "printqueue: cupsd did not start" >&2; exit 1; }
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.2
  done
fi
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  echo "printqueue: the CUPS scheduler is not answering" >&2
  exit 1
fi
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  lpadmin -p "$queue" -v cups-pdf:/ -E -m "$ppd" 2>/dev/null ||
    { echo "printqueue: lpadmin could not create the queue" >&2; exit 1; }
fi
lpadmin -p "$queue" -o "$renderer" || true
cupsenable "$queue" 2>/dev/null || true
cupsaccept "$queue" 2>/dev/null || true
lpadmin -d "$queue" || true
# A queue that refuses every job: printing to it must be reported, not taken for done.
if ! lpstat -p TovanelRejects >/dev/null 2>&1; then
  lpadmin -p TovanelRejects -v cups-pdf:/ -E -m "$ppd" 2>/dev/null || true
fi
cupsreject TovanelRejects 2>/dev/null || true
# A second queue that takes jobs: a job sent to the queue the user chose must arrive there.
if ! lpstat -p TovanelSecond >/dev/null 2>&1; then
  lpadmin -p TovanelSecond -v cups-pdf:/ -E -m "$ppd" 2>/dev/null || true
  lpadmin -p TovanelSecond -o "$renderer" || true
fi
cupsenable TovanelSecond 2>/dev/null || true
cupsaccept TovanelSecond 2>/dev/null || true
echo "printqueue: queue $queue ready; jobs arrive in ~/PDF/"
