// Runs the command: the script itself stands as the program, so that
// Load_data beside it is found as beside the native executable.
createProgram({ thisProgram: __filename }).then((program) => {
  program.callMain(process.argv.slice(2));
});
