#!/usr/bin/env bash
# Installs the Debian 12 packages corvane needs to build, run, test and benchmark.
# Each one is here because something fails without it; what they pull in is left to apt.
# Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache   # compilers and the build
  qt6-base-dev qt6-serialport-dev            # Qt Core, Gui, Widgets, Sql, SerialPort, Test
  libqt6sql6-sqlite                          # the SQLite driver of Qt SQL: the month logs
  libqt6sql6-psql                            # the PostgreSQL driver of Qt SQL: the shared archive
  libpq-dev                                  # libpq on that driver's connection: binary month reads
  postgresql                                 # initdb and pg_ctl for the archive tests' own server
  qt6-tools-dev                              # quillon's Qt Designer plugin
  libcurl4-openssl-dev                       # FTP and HTTP transfers
  libqcustomplot-dev                         # QCustomPlot for Qt 6 under the Chart2D chart
  libtiff-dev                                # fax documents (TIFF class F)
  efax                                       # sends the faxes; its efix reads them back in the tests
  libsqlite3-dev libbenchmark-dev            # SQLite's C interface (the chart's data) and the benchmarks
  poppler-utils                              # pdftoppm: the chart window tests look at printed pages
  clang libclang-rt-14-dev                   # libFuzzer harnesses and their sanitizer runtime
  tzdata                                     # time zones for the summer-time tests
  python3-pyftpdlib                          # the local FTP server of the tests
  python3-openssl                            # its FTPS mode and the test CA it makes
  openssh-server                             # sshd for the SFTP tests, started by the test itself
  libmosquitto-dev                           # MQTT publishing
  mosquitto                                  # the local broker of the MQTT tests, started by the test
  xvfb xauth                                 # the desktop start-up check under a virtual display
  tidy                                       # checks the shipped HTML page in the tests
  dpkg-dev file lintian appstream            # the Debian packages: dependencies, checks, metadata
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

# Only the sshd program is wanted, for the tests: a machine that had no SSH server before
# does not get one listening because of us.
if [[ " ${missing[*]} " == *" openssh-server "* ]] && [ -d /run/systemd/system ]; then
  "${sudo_cmd[@]}" systemctl disable --now ssh.service ssh.socket >/dev/null 2>&1 || true
  echo "openssh-server was installed for the SFTP tests; its ssh service is left disabled"
fi

# Likewise the broker: the MQTT tests start their own on a free port.
if [[ " ${missing[*]} " == *" mosquitto "* ]] && [ -d /run/systemd/system ]; then
  "${sudo_cmd[@]}" systemctl disable --now mosquitto.service >/dev/null 2>&1 || true
  echo "mosquitto was installed for the MQTT tests; its service is left disabled"
fi

# Likewise the archive tests run a PostgreSQL server of their own: the cluster Debian starts on
# installation is not left running because of us.
if [[ " ${missing[*]} " == *" postgresql "* ]] && [ -d /run/systemd/system ]; then
  "${sudo_cmd[@]}" systemctl disable --now postgresql.service >/dev/null 2>&1 || true
  echo "postgresql was installed for the archive tests; its service is left disabled"
fi
