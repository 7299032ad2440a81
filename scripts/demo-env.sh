# Sourced by scripts/run.sh and scripts/screenshots.sh: lays out a demo folder and starts the
# router simulator on a free loopback port.

# demo_start_sim FOLDER [simulator options...]: starts drovix-routersim with the sample logs;
# sets sim_pid and router (address:port). The caller stops it (kill "$sim_pid").
demo_start_sim() {
    local folder="$1"
    shift
    "${build:-build}/drovix-routersim" --port 0 --user admin --password demo-pass \
        --records tools/routersim/sample-log.txt "$@" >"$folder/routersim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 50); do
        grep -q '^listening' "$folder/routersim.out" 2>/dev/null && break
        sleep 0.1
    done
    router="$(sed -n 's/^listening \([0-9.:]*\).*/\1/p' "$folder/routersim.out" | head -n1)"
    [ -n "$router" ] || {
        echo "The router simulator did not start:"
        cat "$folder/routersim.out"
        return 1
    }
}

# demo_fill_folder FOLDER ROUTER [PASSWORD [syslog]]: the settings, Stillbeacon's settings, a
# Stillbeacon day file and the "don't log" lists. Without a password the first start opens the
# options. With "syslog" Drovix reads the router's System Log, keeps its history files and
# prepares the myNetWatchman file.
demo_fill_folder() {
    local folder="$1" router="$2" password="${3-demo-pass}" mode="${4:-}"
    mkdir -p "$folder/sblogs"
    # The password goes in the way an older settings file carried it: scrambled, then moved into
    # the per-user store on the first start.
    local key=7E2A91D04C6B3F58E0A7D2196B4C8F03 scrambled="" i c k
    for ((i = 0; i < ${#password}; i++)); do
        c=$(printf '%d' "'${password:i:1}")
        k=0
        if [ $((2 * i)) -lt ${#key} ]; then k=$((16#${key:2*i:2})); fi
        scrambled+=$(printf '%02X' $((c ^ k)))
    done
    local saved="SAVEPW=1"
    [ -n "$password" ] || saved="SAVEPW=0"
    printf 'PWE=%s\r\n%s\r\nUSERID=admin\r\nADDRESS=%s\r\nCOMPSB=1\r\nCOMPADDR=1\r\n' \
        "$scrambled" "$saved" "$router" >"$folder/Drovix.ini"
    printf 'LOGDIR %s\r\n' "$folder/sblogs" >"$folder/Stillbeacon.ini"
    if [ "$mode" = syslog ]; then
        local key
        for key in SYSLOG SAVESYSLOG MNW INCLUDEALL INCLUDEDXHISTORY SHOWIN SHOWOUT SHOWMSG SHOWWARNING SHOWIGNORED; do
            printf '%s=1\r\n' "$key"
        done >>"$folder/Drovix.ini"
        printf 'MAXTIMEDIFF=2\r\nWINWIDTH=15600\r\nWINHEIGHT=9600\r\n' >>"$folder/Drovix.ini"
        cp tools/routersim/sample-syslog-sblogs/* "$folder/sblogs/"
    else
        cp tools/routersim/sample-sblogs/* "$folder/sblogs/"
    fi
    cp tools/routersim/sample-Hideaddr.txt "$folder/Hideaddr.txt"
    cp tools/routersim/sample-Hideport.txt "$folder/Hideport.txt"
}
