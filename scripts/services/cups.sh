#!/usr/bin/env bash
# Starts the CUPS spooler with a PDF queue named "PDF" (the cups-pdf driver), so that the printing
# tests can send a job through the real print system and measure the PDF it writes. The Debian
# package's own queue set-up needs systemd, so the queue is added here. Never fails the run: when
# the spooler cannot start, the tests that need it skip and say why.
# The PDFs are written to $SLEEVIX_CUPS_PDF_OUT (default /var/spool/cups-pdf/sleevix).
out=${SLEEVIX_CUPS_PDF_OUT:-/var/spool/cups-pdf/sleevix}
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
conf=/etc/cups/cups-pdf.conf

say() { echo "cups.sh: $*" >&2; }
running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }

start() {
    command -v cupsd >/dev/null || { say "cupsd is not installed"; return 1; }
    [ -f "$ppd" ] || { say "the cups-pdf driver is not installed ($ppd)"; return 1; }
    [ "$(id -u)" -eq 0 ] || { say "needs root to start cupsd and add a queue"; return 1; }
    mkdir -p "$out" && chmod 1777 "$out"
    if [ -f "$conf" ]; then
        if grep -q '^Out ' "$conf"; then
            sed -i "s|^Out .*|Out $out|" "$conf"
        else
            echo "Out $out" >>"$conf"
        fi
    fi
    if ! running; then
        mkdir -p /run/cups
        cupsd -f >/tmp/sleevix-cupsd.log 2>&1 &
        for _ in $(seq 1 50); do
            running && break
            sleep 0.2
        done
        running || { say "cupsd did not start (see /tmp/sleevix-cupsd.log)"; return 1; }
    fi
    if ! lpstat -v PDF >/dev/null 2>&1; then
        lpadmin -p PDF -E -v cups-pdf:/ -P "$ppd" -o PageSize=A4 || { say "cannot add the PDF queue"; return 1; }
    fi
    cupsenable PDF 2>/dev/null
    cupsaccept PDF 2>/dev/null
    lpadmin -d PDF 2>/dev/null
    # A second queue that refuses every job: the print must say so instead of losing the job.
    if ! lpstat -v SleevixRefusing >/dev/null 2>&1; then
        lpadmin -p SleevixRefusing -E -v cups-pdf:/ -P "$ppd" -o PageSize=A4 2>/dev/null
    fi
    cupsreject -r "closed for the printing tests" SleevixRefusing 2>/dev/null
    # Wait until earlier jobs have left the queue.
    for _ in $(seq 1 100); do
        [ -z "$(lpstat -o PDF 2>/dev/null)" ] && break
        sleep 0.2
    done
    say "cupsd is up with the queue PDF writing to $out"
}

start || say "printing through the spooler will be skipped"
exit 0
