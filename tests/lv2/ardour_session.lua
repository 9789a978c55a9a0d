-- Drives Ardour headless (ardour7-lua) for ardour_test.sh, in one of two runs:
--
--   create DIR NAME URI PORT VALUE SECONDS
--     a new 48 kHz session with the Dummy backend's noise on its inputs, one
--     stereo track "Take" with the plug-in on it, the plug-in's control port
--     PORT (its LV2 port index) set to VALUE, SECONDS recorded, saved.
--   check DIR NAME URI PORT VALUE
--     the saved session loaded again: the plug-in is still on "Take" and its
--     control still holds VALUE; saved again.
--   switch DIR NAME URI PORT VALUE OFF
--     loaded again, the control still VALUE: the plug-in is deactivated, then
--     its control set to OFF (no run sees the change, so the plug-in's own
--     state still says VALUE while the port says OFF); saved.
--   reopen DIR NAME URI PORT OFF
--     loaded again: the plug-in is inactive and its control holds OFF; it is
--     activated (and has run once); saved.
--
-- Every wait is a poll with a deadline; a failure prints one line starting
-- with "FAIL:" and exits non-zero.
local mode, dir, name, uri = arg[1], arg[2], arg[3], arg[4]
local port, value = tonumber (arg[5]), tonumber (arg[6])
local rate = 48000

local function fail (what)
  print ("FAIL: " .. what)
  io.stdout:flush ()
  os.exit (1)
end

-- Polls cond every 10 ms until it holds; fails after seconds.
local function wait_for (what, seconds, cond)
  for _ = 1, seconds * 100 do
    if cond () then return end
    ARDOUR.LuaAPI.usleep (10000)
  end
  fail ("timed out waiting for " .. what)
end

-- The Dummy backend gives each capture port its own noise generator, so the
-- two channels of the take differ and an exchange shows.
local backend = AudioEngine:set_backend ("None (Dummy)", "", "")
if not backend then fail ("Ardour has no Dummy backend") end
backend:set_device_name ("Uniform White Noise")

local function find_plugin (track)
  for i = 0, 16 do
    local proc = track:nth_plugin (i)
    if proc:isnil () then break end
    local pi = proc:to_insert ()
    if not pi:isnil () and pi:plugin (0):unique_id () == uri then return proc end
  end
  return nil
end

-- The n with nth_parameter (n) == port: Ardour addresses controls by that n.
local function control_number (proc)
  local plug = proc:to_insert ():plugin (0)
  for n = 0, plug:parameter_count () - 1 do
    local id, refs = plug:nth_parameter (n, true)
    if not refs[2] then break end
    if id == port then return n end
  end
  fail ("the plug-in has no control port with index " .. port)
end

local function param (proc)
  local v, _ = ARDOUR.LuaAPI.get_processor_param (proc, control_number (proc), true)
  return v
end

-- The session at dir/name, loaded: the plug-in on its track "Take".
local function load_take ()
  if not load_session (dir, name) then fail ("could not load the session " .. dir .. "/" .. name) end
  local track = Session:route_by_name ("Take")
  if track:isnil () then fail ("the session lost its track") end
  local proc = find_plugin (track)
  if not proc then fail ("the session lost the plug-in " .. uri) end
  return proc
end

local function expect_param (proc, want, when)
  local v = param (proc)
  if v ~= want then fail (when .. ", port " .. port .. " holds " .. v .. ", expected " .. want) end
end

if mode == "create" then
  local seconds = tonumber (arg[7])
  if not create_session (dir, name, rate) then fail ("could not create a session in " .. dir) end
  local tl = Session:new_audio_track (2, 2, nil, 1, "Take", ARDOUR.PresentationInfo.max_order,
                                      ARDOUR.TrackMode.Normal, true)
  if tl:size () ~= 1 then fail ("could not add a stereo track") end
  local track = tl:front ()

  local proc = ARDOUR.LuaAPI.new_plugin (Session, uri, ARDOUR.PluginType.LV2, "")
  if proc:isnil () then fail ("Ardour could not load the LV2 plug-in " .. uri) end
  if track:add_processor_by_index (proc, 0, nil, true) ~= 0 then
    fail ("Ardour refused the plug-in on a stereo track")
  end
  if not ARDOUR.LuaAPI.set_processor_param (proc, control_number (proc), value) then
    fail ("Ardour refused the value " .. value .. " for port " .. port)
  end
  -- Straight through to the master bus: L to L, R to R, no pan law.
  track:panner_shell ():set_bypassed (true)

  -- The inputs come from the backend's first two capture ports.
  track:input ():disconnect_all (nil)
  for c = 1, 2 do
    local from = "system:capture_" .. c
    if track:input ():audio (c - 1):connect (from) ~= 0 then
      fail ("could not connect the track's input " .. c .. " to " .. from)
    end
  end

  track:rec_enable_control ():set_value (1, PBD.GroupControlDisposition.NoGroup)
  wait_for ("the track to arm", 5, function () return track:rec_enable_control ():get_value () == 1 end)
  Session:maybe_enable_record (false)
  Session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
  wait_for ("recording to start", 10, function () return Session:actively_recording () end)
  local start = Session:transport_sample ()
  wait_for ("the take", seconds + 20, function ()
    return Session:transport_sample () - start >= seconds * rate
  end)
  Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
  wait_for ("the transport to stop", 10, function () return not Session:transport_rolling () end)
  -- The take is written by the butler after the stop; the region appears then.
  wait_for ("the take's region", 10, function ()
    return track:playlist ():region_list ():size () > 0
  end)
  track:rec_enable_control ():set_value (0, PBD.GroupControlDisposition.NoGroup)
  print ("recorded samples " .. (Session:transport_sample () - start))
elseif mode == "check" then
  local proc = load_take ()
  if not proc:active () then fail ("the plug-in is inactive after loading") end
  expect_param (proc, value, "after loading")
  print ("reloaded: port " .. port .. " = " .. value)
elseif mode == "switch" then
  local off = tonumber (arg[7])
  local proc = load_take ()
  if not proc:active () then fail ("the plug-in is inactive after loading") end
  expect_param (proc, value, "after loading")
  -- Inactive once the process thread has seen the request: no run after this.
  proc:deactivate ()
  wait_for ("the plug-in to be deactivated", 5, function () return not proc:active () end)
  if not ARDOUR.LuaAPI.set_processor_param (proc, control_number (proc), off) then
    fail ("Ardour refused the value " .. off .. " for port " .. port)
  end
  expect_param (proc, off, "set while inactive")
  print ("inactive: port " .. port .. " = " .. off)
elseif mode == "reopen" then
  local proc = load_take ()
  if proc:active () then fail ("the plug-in saved inactive is active after loading") end
  expect_param (proc, value, "after loading")
  -- Active once the process thread has run it.
  proc:activate ()
  wait_for ("the plug-in to be activated", 5, function () return proc:active () end)
  expect_param (proc, value, "after activating")
  print ("activated: port " .. port .. " = " .. value)
else
  fail ("unknown mode " .. tostring (mode))
end

if Session:save_state ("", false, false, false, false, false) ~= 0 then fail ("could not save the session") end
close_session ()
print ("OK")
